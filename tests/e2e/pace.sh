#!/usr/bin/env bash
# Watches the real window draw on a private X server: at its default speed
# the sunshine's rays change colour pass by pass; at the slow speed Esc
# finishes a drawing at once, "退出" ends the program in the middle of one,
# and a part of the window uncovered while commands are queued is painted
# again at once.
# Usage: pace.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"

# How long Esc, "退出" and a repaint may take, in milliseconds. Each is
# tried where the drawing could not have got there by itself in that time:
# paused, or before the first of many sunshines at the slow speed is drawn.
# Under the sanitizers everything is several times slower, and the sanitize
# preset stretches this.
factor=${SWEEPDRAW_E2E_TIME_FACTOR:-1}
at_once_ms=$((5000 * factor))

e2e_start_xvfb
e2e_expected "$E2E_WORK/sun.png" 阳光
e2e_expected "$E2E_WORK/blank.png" 清除

# The colours of the sunshine's six passes, in order, and a pixel on its
# eastward ray that each pass paints over about halfway through.
passes=(0,0,255 0,255,0 0,255,255 255,0,0 255,0,255 255,255,0)
ray=(620 133)

# Whether the window shows the finished sun.
shows_sun() {
    e2e_screenshot "$E2E_WORK/shot.png"
    e2e_picture "$E2E_WORK/shot.png" "$E2E_WORK/seen.png" crop
    [ "$(e2e_difference "$E2E_WORK/seen.png" "$E2E_WORK/sun.png")" = 0 ]
}

# Waits at most at_once_ms for a condition: at_once WHAT COMMAND...
at_once() {
    local what=$1 deadline=$(($(e2e_now_ms) + at_once_ms))
    shift
    until "$@"; do
        [ "$(e2e_now_ms)" -gt $deadline ] && e2e_fail "$what within $at_once_ms ms"
        sleep 0.05
    done
}

# Starts the sunshine on an empty picture and waits until it has begun: the
# red disc is drawn first.
begin_sunshine() {
    e2e_click_button 清除
    e2e_expect_picture "cleared" "$E2E_WORK/blank.png"
    e2e_click_button 阳光
    e2e_expect "the sunshine has begun" "533 133 255,0,0"
}

e2e_start_program
e2e_expect "start-up" "37 185 $E2E_PANEL"

# Screenshots while the sunshine draws: the ray shows the pass colours one
# after another, at least four of them, and the sun ends whole.
e2e_click_button 阳光
seen=()
last=
deadline=$(($(e2e_now_ms) + 15000))
while [ "$(e2e_now_ms)" -lt $deadline ]; do
    e2e_screenshot "$E2E_WORK/shot.png"
    colour=$(e2e_pixel "$E2E_WORK/shot.png" "${ray[@]}")
    for pass in "${passes[@]}"; do
        if [ "$colour" = "$pass" ] && [ "$last" != "$colour" ]; then
            seen+=("$colour")
            last=$colour
        fi
    done
    [ "$colour" = "${passes[-1]}" ] && break
done
echo "ray colours seen in turn: ${seen[*]}"
[ ${#seen[@]} -ge 4 ] || e2e_fail "only ${#seen[@]} pass colours seen on the ray: ${seen[*]}"
expected=" ${passes[*]} "
for colour in "${seen[@]}"; do
    [[ $expected == *" $colour "* ]] || e2e_fail "the pass colours came out of order: ${seen[*]}"
    expected=${expected#*" $colour"}
done
echo "ok: the rays changed colour pass by pass"
e2e_expect_picture "the finished sun" "$E2E_WORK/sun.png"

# Esc in the middle of a drawing finishes it at once, even one paused,
# which would otherwise never end.
xdotool key ctrl+1
begin_sunshine
xdotool key Pause
shows_sun && e2e_fail "the sunshine was finished before Esc"
xdotool key Escape
# Continued, so that the note of the pause leaves the picture; the slow pace
# alone would take 16 s to finish it.
xdotool key Pause
at_once "Esc did not finish the paused sunshine" shows_sun
echo "ok: Esc finished the drawing at once"

# A part of the window uncovered while commands are queued is painted again
# at once: a window covers the title and the credit, then goes.
begin_sunshine
for _ in 1 2; do e2e_click_button 阳光; done
labels="240x110+$((E2E_ORIGIN_X + 60))+$((E2E_ORIGIN_Y + 360))"
e2e_screenshot "$E2E_WORK/before.png"
convert "$E2E_WORK/before.png" -crop "$labels" +repage "$E2E_WORK/labels.png"
convert -size 400x300 xc:magenta "$E2E_WORK/cover.png"
display -geometry "+$((E2E_ORIGIN_X + 20))+$((E2E_ORIGIN_Y + 320))" -title sweepdraw-cover \
    "$E2E_WORK/cover.png" 2>/dev/null &
cover=$!
e2e_started "$cover"
timeout 10 xdotool search --sync --onlyvisible --name sweepdraw-cover >/dev/null || e2e_fail "no covering window"
e2e_expect "the title is covered" "150 400 255,0,255"
kill "$cover"
wait "$cover" 2>/dev/null || true
e2e_ended "$cover"
# Whether the title and the credit show as they did before they were covered.
labels_back() {
    e2e_screenshot "$E2E_WORK/after.png"
    convert "$E2E_WORK/after.png" -crop "$labels" +repage "$E2E_WORK/uncovered.png"
    [ "$(e2e_difference "$E2E_WORK/uncovered.png" "$E2E_WORK/labels.png")" = 0 ]
}
at_once "the title and the credit were not painted again" labels_back
shows_sun && e2e_fail "the uncovered part was painted only once the sunshine was drawn"
echo "ok: the uncovered part was painted again at once, while drawing"

# "退出" in the middle of a drawing, with more queued, ends the program at
# once, with status 0.
e2e_click_button 阳光 阳光 阳光 阳光 阳光 退出
e2e_expect_exit "$E2E_EXIT_OK" "$at_once_ms"
