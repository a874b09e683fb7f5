#!/usr/bin/env bash
# Live changes on a private X server, the code pane read through AT-SPI: with
# a routine of the learner's open in the pane, 阳光 brings the sunshine's
# routine into it; a key typed into a copy of the sunshine shows in the
# picture, and Ctrl+Z brings the picture back exactly; a change that asks
# for more than ten thousand million points draws while the window answers,
# and Shift+Esc drops it at once, leaving the picture as it was.
# Usage: live.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/pyatspi.sh"

e2e_setup "$@"
e2e_start_xvfb 1600x900
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_DATA_HOME="$E2E_WORK/data"
unset LANGUAGE LC_MESSAGES
{ export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8; } 2>/dev/null

# The pane, as live.py reads or moves it. On a loaded machine AT-SPI's
# library may give up on reaching the accessibility bus and abort the
# helper: then it tries again, twice at most.
pane() {
    local tries status
    for tries in 1 2 3; do
        status=0
        PYTHONPATH="$(dirname "$0")" "$E2E_PYTHON" "$(dirname "$0")/live.py" "$@" || status=$?
        [ $status -lt 128 ] && break
    done
    [ $status = 0 ] || e2e_fail "the code pane: $*"
}

sunshine=$(dirname "$0")/../../scenes/Sunshine.cpp
grep -q '/ 32;' "$sunshine" && grep -q 'Sweep(666, 1800, 0.2,' "$sunshine" \
    || e2e_fail "the sunshine's rays are not where the test looks"
sed 's|/ 32;|/ 3;|' "$sunshine" >"$E2E_WORK/Three.cpp"
e2e_expected "$E2E_WORK/sunshine.png" sunshine
e2e_expected "$E2E_WORK/three.png" "$E2E_WORK/Three.cpp"

e2e_start_program --speed instant
e2e_expect "start-up" "37 185 $E2E_PANEL"
xdotool key ctrl+u
e2e_expect "the pane opens" "801 300 $E2E_DIVIDER"
# With nothing shown yet, Ctrl+E opens a routine of the learner's own.
xdotool key ctrl+e
header=$(pane header "yours, editable") || exit 1
echo "ok: the learner's routine in the pane: $header"

e2e_click_button 阳光
e2e_expect_picture "the sunshine is drawn" "$E2E_WORK/sunshine.png"
pane shows DrawSunshine
header=$(pane header "Sunshine.cpp · scene, read-only") || exit 1
echo "ok: the pane follows the sunshine: $header"

# A copy of the sunshine, one key typed into it: 3 rays in place of the 32.
xdotool key ctrl+e
pane header "My sunshine · yours, editable" >/dev/null
pane caret "/ 32"
xdotool key BackSpace
e2e_expect_picture "the typed change shows" "$E2E_WORK/three.png"
xdotool key ctrl+z
pane shows "/ 32;" >/dev/null
e2e_expect_picture "undone, the picture is the sunshine again" "$E2E_WORK/sunshine.png"

# A step of 0.00002 in place of 0.2: 32 rays of 57 million points each, in
# each of seven colours, 1.3e10 points.
pane caret "Sweep(666, 1800, 0."
xdotool type -- 0000
pane shows "Sweep(666, 1800, 0.00002," >/dev/null
pane drawing
pane drops shift+Escape
e2e_expect_picture "the dropped change leaves the picture as it was" "$E2E_WORK/sunshine.png"

e2e_click_button 退出
e2e_expect_exit 0
