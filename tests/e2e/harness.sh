# Functions for driving the real program on a private X server. Sourced by
# the end-to-end tests; each test calls e2e_setup and e2e_start_xvfb first.

set -euo pipefail

# Every test runs on a session bus of its own, which ends with it. Without
# one, Qt asks D-Bus for the session's bus, and where dbus-x11 is installed,
# as on any desktop, D-Bus autolaunches a daemon for the X display that
# outlives the test; with the machine's own bus the test would not be alone.
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing (package dbus)" >&2; exit 1; }
    E2E_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

E2E_WORK=$(mktemp -d)
E2E_PROGRAM=
E2E_XVFB_PID=
E2E_PROGRAM_PID=
E2E_PIDS=()
E2E_WINDOW=
E2E_ORIGIN_X=0
E2E_ORIGIN_Y=0
E2E_WIDTH=0
E2E_HEIGHT=0
declare -A E2E_BUTTON_X=() E2E_BUTTON_Y=()
# Every process the test started in the background and has not seen end:
# X servers, the program, window managers, covering windows. The cleanup
# ends them all, whatever the test did or failed to do.
E2E_PIDS=()

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Puts a process the test started, $! just after it, on the list to end.
e2e_started() {
    E2E_PIDS+=("$1")
}

# Takes a process that has ended, and been waited for, off the list, so that
# its number, free again, is not killed by mistake.
e2e_ended() {
    local kept=() pid
    for pid in "${E2E_PIDS[@]}"; do
        [ "$pid" = "$1" ] || kept+=("$pid")
    done
    E2E_PIDS=("${kept[@]}")
}

# Ends every process on the list, the last started first: SIGTERM, with
# SIGCONT for one held still by SIGSTOP, and SIGKILL for whatever is still
# there 5 s later. A process may end between any two of these, so none of
# them may stop the cleanup, and the test ends with its own status.
e2e_cleanup() {
    local status=$? i pid deadline=$((SECONDS + 5))
    set +e
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${E2E_PIDS[i]}
        kill -TERM "$pid" 2>/dev/null
        kill -CONT "$pid" 2>/dev/null
    done
    for pid in "${E2E_PIDS[@]}"; do
        while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
            sleep 0.05
        done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    E2E_PIDS=()
    rm -rf "$E2E_WORK"
    exit "$status"
}
trap e2e_cleanup EXIT

# Takes the program under test, and learns where the window's buttons are,
# by caption, from the program that prints them, with the window's design
# size (E2E_DESIGN_WIDTH, E2E_DESIGN_HEIGHT), its colours as "r,g,b"
# (E2E_BACKGROUND, E2E_PANEL, E2E_PANEL_BORDER, E2E_DIVIDER) and the
# program's exit statuses (E2E_EXIT_OK, E2E_EXIT_FAILURE, E2E_EXIT_USAGE):
# e2e_setup EXECUTABLE BUTTONS_EXECUTABLE
e2e_setup() {
    E2E_PROGRAM=$1
    local facts
    facts=$("$2" --facts) || e2e_fail "$2 --facts failed"
    eval "$facts"
    local caption name run x y
    while read -r caption name run x y; do
        E2E_BUTTON_X[$caption]=$x
        E2E_BUTTON_Y[$caption]=$y
    done < <("$2")
    [ ${#E2E_BUTTON_X[@]} = 6 ] || e2e_fail "expected six buttons from $2"
}

# Milliseconds since some fixed moment.
e2e_now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# Starts an X server on a free display, with no window manager:
# e2e_start_xvfb [WIDTHxHEIGHT], 1024x768 unless given.
e2e_start_xvfb() {
    exec 3>"$E2E_WORK/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    e2e_started "$E2E_XVFB_PID"
    exec 3>&-
    local tries=0
    until [ -s "$E2E_WORK/display" ]; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && e2e_fail "Xvfb did not start: $(cat "$E2E_WORK/xvfb.log")"
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$E2E_WORK/display")"
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# Starts the program and waits for its window, whose place and size on the
# screen it keeps in E2E_ORIGIN_X, E2E_ORIGIN_Y, E2E_WIDTH and E2E_HEIGHT:
# e2e_start_program [ARGS...]
e2e_start_program() {
    "$E2E_PROGRAM" "$@" >"$E2E_WORK/program.out" 2>"$E2E_WORK/program.err" &
    E2E_PROGRAM_PID=$!
    e2e_started "$E2E_PROGRAM_PID"
    E2E_WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --pid "$E2E_PROGRAM_PID" --name 'Merivane' | head -n1) \
        || e2e_fail "the window did not appear; stderr: $(cat "$E2E_WORK/program.err")"
    eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
    E2E_ORIGIN_X=$X
    E2E_ORIGIN_Y=$Y
    E2E_WIDTH=$WIDTH
    E2E_HEIGHT=$HEIGHT
}

# Clicks at a point of the window's client area: e2e_click X Y
e2e_click() {
    xdotool mousemove $((E2E_ORIGIN_X + $1)) $((E2E_ORIGIN_Y + $2)) click 1
}

# Clicks the middle of the button with each caption given, in order, with
# one xdotool: e2e_click_button CAPTION...
e2e_click_button() {
    local clicks=() caption
    for caption in "$@"; do
        [ -n "${E2E_BUTTON_X[$caption]:-}" ] || e2e_fail "no button $caption"
        clicks+=(mousemove $((E2E_ORIGIN_X + E2E_BUTTON_X[$caption])) $((E2E_ORIGIN_Y + E2E_BUTTON_Y[$caption]))
            click 1)
    done
    xdotool "${clicks[@]}"
}

# Takes a screenshot of the whole screen into FILE.
e2e_screenshot() {
    import -window root "$1"
}

# Prints "r,g,b" of a point of the window's client area in a screenshot:
# e2e_pixel FILE X Y
e2e_pixel() {
    local x=$((E2E_ORIGIN_X + $2)) y=$((E2E_ORIGIN_Y + $3))
    convert "$1" -format "%[fx:round(255*p{$x,$y}.r)],%[fx:round(255*p{$x,$y}.g)],%[fx:round(255*p{$x,$y}.b)]" info:
}

# Waits until every "X Y r,g,b" expectation holds on screen, or fails with
# what it saw: e2e_expect WHAT "X Y r,g,b" ...
e2e_expect() {
    local what=$1
    shift
    local shot="$E2E_WORK/shot.png" deadline=$((SECONDS + 20)) expectation seen ok
    while :; do
        e2e_screenshot "$shot"
        ok=1
        for expectation in "$@"; do
            read -r x y colour <<<"$expectation"
            seen=$(e2e_pixel "$shot" "$x" "$y")
            [ "$seen" = "$colour" ] || { ok=0; break; }
        done
        [ $ok = 1 ] && { echo "ok: $what"; return 0; }
        [ $SECONDS -ge $deadline ] && e2e_fail "$what: pixel ($x, $y) is $seen, expected $colour"
        sleep 0.2
    done
}

# The window's picture from a screenshot, or an image of the window at its
# design size as is: the row of buttons is blacked out, since its look
# follows the pointer and the focus. e2e_picture IN OUT [crop]
e2e_picture() {
    local crop=()
    [ "${3:-}" = crop ] \
        && crop=(-crop "${E2E_DESIGN_WIDTH}x${E2E_DESIGN_HEIGHT}+${E2E_ORIGIN_X}+${E2E_ORIGIN_Y}" +repage)
    convert "$1" "${crop[@]}" -fill black -draw "rectangle 300,492 772,524" "$2"
}

# How many pixels of two pictures differ.
e2e_difference() {
    compare -metric AE "$1" "$2" null: 2>&1 || true
}

# What the window must show after these commands have run one after another:
# drawn by the program itself into a file. e2e_expected OUT COMMAND...
e2e_expected() {
    local out=$1
    shift
    local list
    list=$(IFS=,; echo "$*")
    "$E2E_PROGRAM" --run "$list" --save "$E2E_WORK/expected-raw.png" 2>"$E2E_WORK/save.err" \
        || e2e_fail "could not draw the expected picture: $(cat "$E2E_WORK/save.err")"
    e2e_picture "$E2E_WORK/expected-raw.png" "$out"
}

# Waits until the window shows the picture, or fails with how far it was.
# e2e_expect_picture WHAT FILE
e2e_expect_picture() {
    local what=$1 expected=$2 deadline=$((SECONDS + 120)) differing
    while :; do
        e2e_screenshot "$E2E_WORK/shot.png"
        e2e_picture "$E2E_WORK/shot.png" "$E2E_WORK/seen.png" crop
        differing=$(e2e_difference "$E2E_WORK/seen.png" "$expected")
        [ "$differing" = 0 ] && { echo "ok: $what"; return 0; }
        [ $SECONDS -ge $deadline ] && e2e_fail "$what: $differing pixels differ from the expected picture"
        sleep 0.5
    done
}

# Waits for the program to end, at most MILLISECONDS (10000 unless given),
# and checks its exit status, one of the E2E_EXIT_ statuses:
# e2e_expect_exit STATUS [MILLISECONDS]
e2e_expect_exit() {
    local status=0 limit=${2:-10000}
    local deadline=$(($(e2e_now_ms) + limit))
    while kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; do
        [ "$(e2e_now_ms)" -gt $deadline ] && e2e_fail "the program did not end within $limit ms"
        sleep 0.02
    done
    wait "$E2E_PROGRAM_PID" || status=$?
    e2e_ended "$E2E_PROGRAM_PID"
    E2E_PROGRAM_PID=
    [ "$status" = "$1" ] || e2e_fail "exit status $status, expected $1; stderr: $(cat "$E2E_WORK/program.err")"
    echo "ok: exit status $status"
}
