#!/usr/bin/env bash
# The window as a screen reader sees it, through AT-SPI on a private session
# bus, in English and in Chinese: everything is named, the buttons keep their
# captions and have tooltips, the menu and the help are in the language, the
# buttons can be pressed through their actions, and the picture says what is
# drawn on it.
# Usage: atspi.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/pyatspi.sh"

e2e_setup "$@"
e2e_start_xvfb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The program follows the locale named in the environment, whether or not
# the machine has that locale installed (bash warns when it has not).
unset LANGUAGE LC_MESSAGES
for language in en:en_US.UTF-8 zh:zh_CN.UTF-8; do
    { export LANG=${language#*:} LC_ALL=${language#*:}; } 2>/dev/null
    echo "in $LANG:"
    e2e_start_program --speed instant
    e2e_expect "start-up" "37 185 $E2E_PANEL"
    "$E2E_PYTHON" "$(dirname "$0")/atspi.py" "${language%%:*}" $((E2E_ORIGIN_X + 600)) $((E2E_ORIGIN_Y + 300)) \
        "${!E2E_BUTTON_X[@]}" || e2e_fail "as a screen reader sees it in $LANG"
    e2e_expect "the sun is drawn" "533 133 255,0,0" "620 133 255,255,0"
    e2e_click_button 退出
    e2e_expect_exit "$E2E_EXIT_OK"
done
