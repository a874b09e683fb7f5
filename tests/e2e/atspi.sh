#!/usr/bin/env bash
# The window as a screen reader sees it, through AT-SPI on a private session
# bus: everything is named, the buttons can be pressed through their
# actions, and the picture says what is drawn on it.
# Usage: atspi.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/atspi-bus.sh"
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"
e2e_start_xvfb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_start_program --speed instant
e2e_expect "start-up" "37 185 0,0,0"

"$E2E_PYTHON" "$(dirname "$0")/atspi.py" "${!E2E_BUTTON_X[@]}" || e2e_fail "as a screen reader sees it"
e2e_expect "the sun is drawn" "533 133 255,0,0" "620 133 255,255,0"
e2e_click_button 退出
e2e_expect_exit 0
