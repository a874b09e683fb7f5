#!/usr/bin/env bash
# Drives the real window on a private X server: every button once, checking
# the screen after each click, and Return on the focused button at start-up.
# Usage: e2e.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"
e2e_start_xvfb
e2e_start_program --speed instant

[ "$E2E_WIDTH" = "$E2E_DESIGN_WIDTH" ] && [ "$E2E_HEIGHT" = "$E2E_DESIGN_HEIGHT" ] \
    || e2e_fail "the window is ${E2E_WIDTH}x${E2E_HEIGHT}, not ${E2E_DESIGN_WIDTH}x${E2E_DESIGN_HEIGHT}"

e2e_expect "start-up" "37 185 $E2E_PANEL" "2 300 $E2E_BACKGROUND" "8 300 $E2E_PANEL_BORDER"
[ "$(xdotool getwindowname "$E2E_WINDOW")" = "图形程序设计 Merivane 2006.11." ] || e2e_fail "wrong caption"

e2e_click_button 高山
e2e_expect "mountains: ridge and frame" "37 185 0,255,255" "2 300 255,255,0" "3 3 255,255,0"

e2e_click_button 清除
e2e_expect "clear" "37 185 $E2E_PANEL" "2 300 $E2E_BACKGROUND" "3 3 $E2E_BACKGROUND"

e2e_click_button 流水
e2e_expect "water: four strokes" "400 407 0,255,0" "400 427 0,255,0" "600 447 0,255,0" "556 467 0,255,0"

e2e_click_button 阳光
e2e_expect "sunshine: disc, rim and rays" "533 133 255,0,0" "567 133 255,255,0" "653 133 255,255,0" "533 253 255,255,0"

e2e_click_button 大桥
e2e_expect "bridge: large and small arches" "557 307 128,0,128" "423 353 255,255,0"
# The water is still there under the bridge.
e2e_expect "pictures accumulate" "400 407 0,255,0" "533 133 255,0,0"

e2e_click_button 退出
e2e_expect_exit "$E2E_EXIT_OK"

# Return presses the button with the focus, "大桥" at start-up.
e2e_start_program --speed instant
e2e_expect "start-up" "37 185 $E2E_PANEL"
xdotool key Return
e2e_expect "Return at start-up: the bridge" "557 307 128,0,128" "423 353 255,255,0"
