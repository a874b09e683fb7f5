#!/usr/bin/env bash
# Zoom on a private X server with no window manager: a window resized to
# twice its size draws the pictures as a screen at twice the density does,
# and on a screen too small for it the window opens smaller, whole; under a
# window manager, whole with its frame, and showing and hiding the code
# pane leaves its left edge where it was.
# Usage: zoom.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"
scenes=mountains,water,sunshine,bridge
# The window at zoom 2, as at scale 2.
twice_width=$((E2E_DESIGN_WIDTH * 2))
twice_height=$((E2E_DESIGN_HEIGHT * 2))

# The window as it stands on the screen into OUT.whole.png, and into OUT with
# the labels and the buttons blacked out, since their text is antialiased a
# little differently at the two densities: the pictures never reach them.
# zoom_window OUT (the window is 1600x1104)
zoom_window() {
    e2e_screenshot "$E2E_WORK/shot.png"
    convert "$E2E_WORK/shot.png" -crop "${twice_width}x${twice_height}+${E2E_ORIGIN_X}+${E2E_ORIGIN_Y}" +repage "$1.whole.png"
    convert "$1.whole.png" -fill black \
        -draw "rectangle 144,736 593,801" -draw "rectangle 256,832 497,881" -draw "rectangle 272,896 465,945" \
        -draw "rectangle 608,992 1537,1041" "$1"
}

# Drawn at twice the density: Qt's scale factor 2, zoom 1.
e2e_start_xvfb 1700x1200
QT_SCALE_FACTOR=2 e2e_start_program --speed instant --run "$scenes"
[ "$E2E_WIDTH" = "$twice_width" ] && [ "$E2E_HEIGHT" = "$twice_height" ] || e2e_fail "at scale 2 the window is ${E2E_WIDTH}x${E2E_HEIGHT}"
e2e_expect "at scale 2: the sun and the bridge" "1066 266 255,0,0" "1114 614 128,0,128"
zoom_window "$E2E_WORK/dense.png"
kill "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" 2>/dev/null || true
e2e_ended "$E2E_PROGRAM_PID"

# Zoom 2: the window is made twice as large.
e2e_start_program --speed instant --run "$scenes"
xdotool windowsize --sync "$E2E_WINDOW" "$twice_width" "$twice_height"
eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
[ "$WIDTH" = "$twice_width" ] && [ "$HEIGHT" = "$twice_height" ] || e2e_fail "the window did not grow: ${WIDTH}x${HEIGHT}"
e2e_expect "at zoom 2: the sun and the bridge" "1066 266 255,0,0" "1114 614 128,0,128"
deadline=$((SECONDS + 20))
while :; do
    zoom_window "$E2E_WORK/zoomed.png"
    differing=$(e2e_difference "$E2E_WORK/zoomed.png" "$E2E_WORK/dense.png")
    [ "$differing" = 0 ] && break
    [ $SECONDS -ge $deadline ] && e2e_fail "at zoom 2, $differing pixels differ from the pictures drawn at scale 2"
    sleep 0.2
done
echo "ok: at zoom 2 the pictures are those of a screen at scale 2"
# The title and the buttons, lettering included, as at scale 2 but for a few
# hundred pixels: antialiasing, and the corners the style caches at 1x.
for part in 450x66+144+736 930x50+608+992; do
    differing=$(compare -fuzz 10% -metric AE "$E2E_WORK"/{zoomed,dense}.png.whole.png"[$part]" null: 2>&1 || true)
    [ "$differing" -lt 500 ] || e2e_fail "at zoom 2, $differing pixels of $part differ from scale 2"
    echo "ok: at zoom 2, $part looks as at scale 2 but for $differing pixels"
done
# "退出" at its place at zoom 1, inside the panel now, does nothing: the
# program takes the click on "清除" after it, and the window still shows,
# cleared.
e2e_click_button 退出
e2e_click $((E2E_BUTTON_X[清除] * 2)) $((E2E_BUTTON_Y[清除] * 2))
e2e_expect "a click on the panel did nothing, and 清除 cleared" "1066 266 $E2E_PANEL" "4 600 $E2E_BACKGROUND"
kill -0 "$E2E_PROGRAM_PID" || e2e_fail "a click on the panel ended the program"
e2e_click $((E2E_BUTTON_X[退出] * 2)) $((E2E_BUTTON_Y[退出] * 2))
e2e_expect_exit "$E2E_EXIT_OK"

# A 1280x1024 screen at scale 2 holds 640x512 pixels: the window opens at the
# largest zoom that fits, 0.8, whole, and its buttons work.
e2e_start_xvfb 1280x1024
QT_SCALE_FACTOR=2 e2e_start_program
echo "at scale 2 on 1280x1024 the window is ${E2E_WIDTH}x${E2E_HEIGHT} at (${E2E_ORIGIN_X}, ${E2E_ORIGIN_Y})"
[ $((E2E_ORIGIN_X + E2E_WIDTH)) -le 1280 ] && [ $((E2E_ORIGIN_Y + E2E_HEIGHT)) -le 1024 ] \
    || e2e_fail "the window does not fit on the screen"
[ "$E2E_WIDTH" = 1280 ] || e2e_fail "the window is ${E2E_WIDTH} wide, not the screen's 1280"
exit_x=$((E2E_BUTTON_X[退出] * 2 * 8 / 10))
exit_y=$((E2E_BUTTON_Y[退出] * 2 * 8 / 10))
[ $((E2E_ORIGIN_X + exit_x)) -lt 1280 ] && [ $((E2E_ORIGIN_Y + exit_y)) -lt 1024 ] || e2e_fail "退出 is off the screen"
e2e_click "$exit_x" "$exit_y"
e2e_expect_exit "$E2E_EXIT_OK"

# Under a window manager at scale 2, the frame it puts round the window once
# shown, the window's parent, lies on a 1280x800 screen, and only just.
e2e_start_xvfb 1280x800
openbox --config-file /dev/null >/dev/null 2>&1 &
e2e_started $!
QT_SCALE_FACTOR=2 e2e_start_program
for ((tries = 0; tries < 50; tries++)); do
    frame=$(xwininfo -children -id "$E2E_WINDOW" | sed -n '/root window/!s/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    [ -n "$frame" ] && eval "$(xdotool getwindowgeometry --shell "$frame")" \
        && [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1280 ] && [ $((Y + HEIGHT)) -gt 795 ] \
        && [ $((Y + HEIGHT)) -le 800 ] && break
    sleep 0.2
done
[ "$tries" -lt 50 ] || e2e_fail "under a window manager at scale 2 the frame is ${WIDTH}x${HEIGHT}+$X+$Y"
echo "ok: under a window manager at scale 2 the frame, ${WIDTH}x${HEIGHT}+$X+$Y, lies on a 1280x800 screen"
kill "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" 2>/dev/null || true
e2e_ended "$E2E_PROGRAM_PID"

# Under the same window manager at scale 1, Ctrl+U shows the code pane and
# hides it again: the window grows and shrinks on its right side, and its
# left edge stays where it was.
e2e_start_program
xdotool windowmove --sync "$E2E_WINDOW" 300 100 windowactivate --sync "$E2E_WINDOW"
eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
left=$X
width=$WIDTH
for pane in shown hidden; do
    xdotool key ctrl+u
    for ((tries = 0; tries < 50; tries++)); do
        eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
        if [ $pane = shown ]; then [ "$WIDTH" -gt "$width" ] && break; else [ "$WIDTH" = "$width" ] && break; fi
        sleep 0.2
    done
    [ "$tries" -lt 50 ] || e2e_fail "with the pane $pane the window is ${WIDTH} wide"
    [ "$X" = "$left" ] || e2e_fail "with the pane $pane the window's left edge moved from $left to $X"
    echo "ok: with the pane $pane the window is ${WIDTH} wide, its left edge still at $X"
done
