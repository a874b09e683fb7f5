#!/usr/bin/env bash
# Abuse of the real window on a private X server: storms of clicks while the
# sunshine draws, and the X server going away under the window, idle or busy.
# Usage: storm.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"

# Kills the X server under the window at once, as a crash would.
storm_kill_display() {
    kill -KILL "$E2E_XVFB_PID"
    wait "$E2E_XVFB_PID" 2>/dev/null || true
    e2e_ended "$E2E_XVFB_PID"
}

# Clicks the sunshine and then every button given, with the program held
# still (SIGSTOP) until all the clicks are made: whatever the speed of this
# machine, every click of the storm is waiting while the sunshine draws.
storm_clicks() {
    kill -STOP "$E2E_PROGRAM_PID"
    e2e_click_button 阳光 "$@"
    kill -CONT "$E2E_PROGRAM_PID"
}

# A storm of `count` clicks going round the buttons given.
storm_of() {
    local count=$1
    shift
    local buttons=("$@") i
    for ((i = 0; i < count; i++)); do
        echo "${buttons[i % ${#buttons[@]}]}"
    done
}

e2e_start_xvfb
e2e_start_program --speed instant
e2e_expect "start-up" "37 185 $E2E_PANEL"

# 50 clicks on the other scenes and on "清除" while the sunshine draws. Every
# click is handled after the sunshine, in order: the last clear is the 45th
# click, and the five after it draw on an empty picture.
mapfile -t storm < <(storm_of 50 流水 高山 清除 大桥 高山 流水 大桥)
storm_clicks "${storm[@]}"
e2e_expected "$E2E_WORK/expected.png" 阳光 "${storm[@]}"
e2e_expect_picture "storm with clears: the clicks take effect in order" "$E2E_WORK/expected.png"

e2e_click_button 清除
e2e_expected "$E2E_WORK/blank.png" 清除
e2e_expect_picture "responsive after the storm: cleared" "$E2E_WORK/blank.png"

# 50 clicks on the other scenes alone: none of them reaches the sun, so the
# sunshine must be there whole, under everything the storm drew after it.
mapfile -t storm < <(storm_of 50 高山 大桥 流水)
storm_clicks "${storm[@]}"
e2e_expected "$E2E_WORK/expected.png" 阳光 "${storm[@]}"
e2e_expect_picture "storm of scenes: the sunshine whole, the rest after it in order" "$E2E_WORK/expected.png"

e2e_click_button 退出
e2e_expect_exit "$E2E_EXIT_OK"

# The X server dies under the idle window: the program says so and ends.
e2e_start_xvfb
e2e_start_program --speed instant
e2e_expect "start-up" "37 185 $E2E_PANEL"
storm_kill_display
e2e_expect_exit "$E2E_EXIT_FAILURE"
grep -q "The X11 connection broke" "$E2E_WORK/program.err" \
    || e2e_fail "no word of the lost display: $(cat "$E2E_WORK/program.err")"
echo "ok: display lost while idle: $(tail -n1 "$E2E_WORK/program.err")"

# The X server dies while a storm of the two longest commands is being
# drawn: the command under way finishes on a dead display, the rest are
# dropped, and the program ends. The display goes as soon as the screen shows
# the storm has begun; the bridge comes last and only there, so the screen
# also shows that the storm was not over yet.
e2e_start_xvfb
e2e_start_program --speed instant
e2e_expect "start-up" "37 185 $E2E_PANEL"
mapfile -t storm < <(storm_of 99 流水 阳光)
storm+=(大桥)
storm_clicks "${storm[@]}"
deadline=$((SECONDS + 60))
while :; do
    e2e_screenshot "$E2E_WORK/shot.png"
    e2e_picture "$E2E_WORK/shot.png" "$E2E_WORK/seen.png" crop
    [ "$(e2e_difference "$E2E_WORK/seen.png" "$E2E_WORK/blank.png")" != 0 ] && break
    [ $SECONDS -ge $deadline ] && e2e_fail "the storm did not begin"
done
storm_kill_display
e2e_expected "$E2E_WORK/expected.png" 阳光 "${storm[@]}"
[ "$(e2e_difference "$E2E_WORK/seen.png" "$E2E_WORK/expected.png")" != 0 ] \
    || e2e_fail "the storm was over before the display went"
e2e_expect_exit "$E2E_EXIT_FAILURE"
grep -q "The X11 connection broke" "$E2E_WORK/program.err" \
    || e2e_fail "no word of the lost display: $(cat "$E2E_WORK/program.err")"
echo "ok: display lost while drawing: $(tail -n1 "$E2E_WORK/program.err")"
