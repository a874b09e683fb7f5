#!/usr/bin/env bash
# The code pane on a private X server, read through AT-SPI as a screen
# reader does: Ctrl+U opens it to the right of the picture, the window
# growing to make room; during a sunshine at the slow speed it shows
# DrawSunshine and the counter r growing, nothing moving while the drawing
# is paused, and one operation landing at F10; Ctrl+U again gives the window
# back as it was.
# Usage: codepane.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/pyatspi.sh"

# Wide enough for the window to grow by the pane.
e2e_setup "$@"
e2e_start_xvfb 1600x900
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset LANGUAGE LC_MESSAGES
{ export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8; } 2>/dev/null
e2e_start_program --speed slow
e2e_expect "start-up" "37 185 $E2E_PANEL"

# Prints the window's client size as WIDTHxHEIGHT.
window_size() {
    eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
    echo "${WIDTH}x${HEIGHT}"
}

# Waits until the window has the size: expect_size WHAT WIDTHxHEIGHT
expect_size() {
    local deadline=$((SECONDS + 10))
    until [ "$(window_size)" = "$2" ]; do
        [ $SECONDS -ge $deadline ] && e2e_fail "$1: the window is $(window_size), expected $2"
        sleep 0.1
    done
    echo "ok: $1: $2"
}

start=$(window_size)
xdotool key ctrl+u
e2e_expect "the pane opens beside the picture" "801 300 $E2E_DIVIDER"
[ "$(window_size)" != "$start" ] || e2e_fail "the window did not grow for the pane"
# The picture stays where it was, at its size.
e2e_expect "the picture keeps its place" "37 185 $E2E_PANEL" "2 300 $E2E_BACKGROUND"

e2e_click_button 阳光
e2e_expect "the sunshine has begun" "533 133 255,0,0"
PYTHONPATH="$(dirname "$0")" "$E2E_PYTHON" "$(dirname "$0")/codepane.py" || e2e_fail "the code pane as a screen reader reads it"

xdotool key ctrl+u
expect_size "hiding the pane gives the window back" "$start"
e2e_click_button 退出
e2e_expect_exit 0
