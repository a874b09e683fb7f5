#!/usr/bin/env bash
# Watches the real window draw at its default speed on a private X server:
# the sunshine's rays change colour pass by pass, Esc finishes a drawing at
# once, "退出" ends the program in the middle of one, and a part of the
# window uncovered while commands are queued is painted again at once.
# Usage: pace.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"

# How long each step may take, in milliseconds. Under the sanitizers the
# drawing is several times slower, and the sanitize preset stretches these.
factor=${SWEEPDRAW_E2E_TIME_FACTOR:-1}
esc_ms=$((300 * factor))
exit_ms=$((500 * factor))
repaint_ms=$((100 * factor))

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

# Esc in the middle of a drawing finishes it at once.
begin_sunshine
shows_sun && e2e_fail "the sunshine was finished before Esc"
xdotool key Escape
e2e_sleep_ms "$esc_ms"
shows_sun || e2e_fail "Esc did not finish the sunshine within $esc_ms ms"
echo "ok: Esc finished the drawing within $esc_ms ms"

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
e2e_sleep_ms "$repaint_ms"
e2e_screenshot "$E2E_WORK/after.png"
convert "$E2E_WORK/after.png" -crop "$labels" +repage "$E2E_WORK/uncovered.png"
differing=$(e2e_difference "$E2E_WORK/uncovered.png" "$E2E_WORK/labels.png")
[ "$differing" = 0 ] || e2e_fail "$repaint_ms ms after it was uncovered, $differing pixels of the title and credit are wrong"
shows_sun && e2e_fail "the queue was drawn before the window was uncovered"
echo "ok: the uncovered part was painted again within $repaint_ms ms, while drawing"

# "退出" in the middle of a drawing, with more queued, ends the program at
# once, with status 0.
e2e_click_button 退出
e2e_expect_exit "$E2E_EXIT_OK" "$exit_ms"
