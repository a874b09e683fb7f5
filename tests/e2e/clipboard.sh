#!/usr/bin/env bash
# Ctrl+C on the real window, on a private X server: the clipboard holds the
# image --save writes for the same commands, 800x552 whatever the window's
# size, while the window is twice as large.
# Usage: clipboard.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"
e2e_start_xvfb 1700x1200
scenes=mountains,sunshine

"$E2E_PROGRAM" --run "$scenes" --save "$E2E_WORK/saved.png" 2>"$E2E_WORK/save.err" \
    || e2e_fail "could not save the picture: $(cat "$E2E_WORK/save.err")"
e2e_start_program --speed instant --run "$scenes"
xdotool windowsize --sync "$E2E_WINDOW" 1600 1104
e2e_expect "at zoom 2: the sun" "1066 266 255,0,0"

# The copy is the picture as it stands, and at instant speed the drawing may
# still be under way (far longer so under the sanitizers): copy again until
# the copy shows it finished, or fail with how far the last one was.
deadline=$((SECONDS + 60))
while :; do
    rm -f "$E2E_WORK/copied.png"
    xdotool key ctrl+c
    copied=$((SECONDS + 10))
    until xclip -selection clipboard -t image/png -o >"$E2E_WORK/copied.png" 2>/dev/null && [ -s "$E2E_WORK/copied.png" ]; do
        [ $SECONDS -ge $copied ] && e2e_fail "nothing came on the clipboard after Ctrl+C"
        sleep 0.2
    done
    size=$(identify -format '%wx%h' "$E2E_WORK/copied.png")
    [ "$size" = 800x552 ] || e2e_fail "the copied picture is $size, not 800x552"
    differing=$(e2e_difference "$E2E_WORK/copied.png" "$E2E_WORK/saved.png")
    [ "$differing" = 0 ] && break
    [ $SECONDS -ge $deadline ] && e2e_fail "$differing pixels of the copied picture differ from the saved one"
    sleep 0.5
done
echo "ok: Ctrl+C copies what --save writes"
