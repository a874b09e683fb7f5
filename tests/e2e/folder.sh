#!/usr/bin/env bash
# The learner's folder holding what no routine file is: a link to /dev/zero,
# a FIFO and a folder, each named like a routine and newer than the one
# routine beside them. The window opens as always, its memory stays small,
# and the code pane, read through AT-SPI as a screen reader does, opens on
# nothing and names each of the others with why it is passed over.
# Usage: folder.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/pyatspi.sh"

e2e_setup "$@"
e2e_start_xvfb 1600x900
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset LANGUAGE LC_MESSAGES
{ export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8; } 2>/dev/null
export XDG_DATA_HOME="$E2E_WORK/data"
routines="$XDG_DATA_HOME/sweepdraw/routines"
mkdir -p "$routines"
cp "$(dirname "$0")/../../scenes/Sunshine.cpp" "$routines/MySunshine.cpp"
touch -d '2000-01-01' "$routines/MySunshine.cpp"
ln -s /dev/zero "$routines/Zero.cpp"
mkfifo "$routines/Pipe.cpp"
mkdir "$routines/MyRoutine.cpp"

# Resident memory in MiB: reading /dev/zero as a routine took over 1 GiB a
# second.
resident_mib() {
    echo $(($(awk '/^VmRSS:/ { print $2 }' "/proc/$E2E_PROGRAM_PID/status") / 1024))
}
expect_small() {
    local mib
    mib=$(resident_mib)
    [ "$mib" -lt 500 ] || e2e_fail "$1: the program holds $mib MiB"
    echo "ok: $1: $mib MiB"
}

e2e_start_program --speed fast
e2e_expect "the window opens" "37 185 $E2E_PANEL"
expect_small "at start-up"
xdotool key ctrl+u
e2e_expect "the pane opens" "801 300 $E2E_DIVIDER"

"$E2E_PYTHON" - "$(dirname "$0")" <<'PYTHON' || e2e_fail "the pane's header as a screen reader reads it"
import sys
sys.path.insert(0, sys.argv[1])
from atspi import fail, program, wait_for, walk

expected = [
    "MyRoutine.cpp is passed over: Is a directory",
    "Pipe.cpp is passed over: not a regular file",
    "Zero.cpp is passed over: not a regular file",
]

def header(app):
    for node in walk(app):
        if node.name == "Routine shown" and "passed over" in (node.description or ""):
            return node.description
    return None

app = wait_for("the program is not on the accessibility bus", program)
told = wait_for("no header names a file passed over", lambda: header(app))
lines = told.split("\n")
if sorted(lines) != expected:
    fail("the header reads %r" % told)
print("ok: the header reads %r" % told)
PYTHON

expect_small "with the pane open"
e2e_click_button 退出
e2e_expect_exit 0
[ -L "$routines/Zero.cpp" ] && [ -p "$routines/Pipe.cpp" ] && [ -d "$routines/MyRoutine.cpp" ] \
    || e2e_fail "the folder's special files were changed"
echo "ok: the folder is as it was"
