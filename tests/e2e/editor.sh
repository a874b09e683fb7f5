#!/usr/bin/env bash
# The routine editor on a private X server: Ctrl+E makes an editable copy
# of the sunshine in the code pane, the keys edit it to 12 rays, and F5
# draws it as its routine file draws; killed with SIGKILL once the copy is
# written, the program starts again with the edit kept, opened with
# Ctrl+O, and F5 draws it again.
# Usage: editor.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"
e2e_start_xvfb 1600x900
# The learner's routines go to a folder of the test's own.
export XDG_DATA_HOME="$E2E_WORK/data"
routines="$XDG_DATA_HOME/sweepdraw/routines"

sed 's|/ 32;|/ 12;|' "$(dirname "$0")/../../scenes/Sunshine.cpp" >"$E2E_WORK/Twelve.cpp"
grep -q '/ 12;' "$E2E_WORK/Twelve.cpp" || e2e_fail "the sunshine's 32 rays are not where the test looks"
e2e_expected "$E2E_WORK/twelve.png" "$E2E_WORK/Twelve.cpp"

e2e_start_program --speed fast
e2e_expect "start-up" "37 185 0,0,0"
e2e_click_button 阳光
e2e_expect "the sunshine is drawn" "533 133 255,0,0"
xdotool key ctrl+u
e2e_expect "the pane opens" "801 300 $E2E_DIVIDER"
xdotool key ctrl+e
# The copy typed over, all of it, as the sunshine with 12 rays: the code
# wraps at the pane's width, so no count of Down presses reaches a line.
# Each line is typed, then Return: xdotool types a newline as a key the
# editor does not take for one.
xdotool key ctrl+a
while IFS= read -r text; do
    [ -z "$text" ] || xdotool type --delay 2 -- "$text"
    xdotool key Return
done <"$E2E_WORK/Twelve.cpp"

# Written while the typing goes on, and about a second after it stops.
deadline=$((SECONDS + 10))
until cmp -s "$routines/MySunshine.cpp" "$E2E_WORK/Twelve.cpp"; do
    if [ $SECONDS -ge $deadline ]; then
        diff "$routines/MySunshine.cpp" "$E2E_WORK/Twelve.cpp" >&2
        e2e_fail "the copy written is not the sunshine with 12 rays: $(ls -l "$routines" 2>&1)"
    fi
    sleep 0.2
done
echo "ok: the edited copy is written"

e2e_click_button 清除
xdotool key F5 ctrl+u
e2e_expect_picture "F5 draws the edited copy" "$E2E_WORK/twelve.png"

kill -KILL "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" 2>/dev/null || true
e2e_ended "$E2E_PROGRAM_PID"

e2e_start_program --speed fast
e2e_expect "a new start" "37 185 0,0,0"
xdotool key ctrl+u
e2e_expect "the pane opens" "801 300 $E2E_DIVIDER"
# Nothing is opened unasked: the edit is opened as any routine file is.
xdotool key ctrl+o
deadline=$((SECONDS + 10))
until xdotool search --name "Open routine" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || e2e_fail "no dialog to open a routine"
    sleep 0.1
done
# The dialog takes the keyboard once it is mapped; on a busy machine keys
# typed before that are lost, and a completion popup may take the first
# Return: so the name is typed again while the dialog stays.
dialog=$(xdotool search --name "Open routine" | head -1)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
deadline=$((SECONDS + 30))
retype=0
while xdotool search --name "Open routine" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the dialog to open a routine stays"
    if [ $SECONDS -ge $retype ]; then
        xdotool key ctrl+a
        xdotool type --delay 2 -- "$routines/MySunshine.cpp"
        xdotool key Return
        retype=$((SECONDS + 5))
    fi
    sleep 0.1
done
# Without a window manager the keyboard goes back to the window with a click.
e2e_click 400 300
xdotool key F5 ctrl+u
e2e_expect_picture "after SIGKILL and a new start, F5 draws the edit" "$E2E_WORK/twelve.png"
e2e_click_button 退出
e2e_expect_exit 0
