# Functions for driving the real program on a private X server. Sourced by
# the end-to-end tests; each test calls e2e_start first.

set -euo pipefail

E2E_WORK=$(mktemp -d)
E2E_XVFB_PID=
E2E_PROGRAM_PID=
E2E_WINDOW=
E2E_ORIGIN_X=0
E2E_ORIGIN_Y=0

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_cleanup() {
    [ -n "$E2E_PROGRAM_PID" ] && kill "$E2E_PROGRAM_PID" 2>/dev/null || true
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null || true
    rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

# Starts an X server on a free display, with no window manager.
e2e_start_xvfb() {
    exec 3>"$E2E_WORK/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
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

# Starts the program and waits for its window: e2e_start_program EXECUTABLE [ARGS...]
e2e_start_program() {
    "$@" >"$E2E_WORK/program.out" 2>"$E2E_WORK/program.err" &
    E2E_PROGRAM_PID=$!
    E2E_WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --pid "$E2E_PROGRAM_PID" --name 'Merivane' | head -n1) \
        || e2e_fail "the window did not appear; stderr: $(cat "$E2E_WORK/program.err")"
    eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
    E2E_ORIGIN_X=$X
    E2E_ORIGIN_Y=$Y
    [ "$WIDTH" = 800 ] && [ "$HEIGHT" = 552 ] || e2e_fail "window is ${WIDTH}x${HEIGHT}, not 800x552"
}

# Clicks at a point of the window's client area: e2e_click X Y
e2e_click() {
    xdotool mousemove $((E2E_ORIGIN_X + $1)) $((E2E_ORIGIN_Y + $2)) click 1
}

# Clicks the button with this caption at its place in the row.
e2e_click_button() {
    local left
    case "$1" in
        高山) left=304 ;; 流水) left=384 ;; 阳光) left=464 ;;
        大桥) left=544 ;; 清除) left=624 ;; 退出) left=704 ;;
        *) e2e_fail "no button $1" ;;
    esac
    e2e_click $((left + 32)) 508
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

# Waits for the program to end and checks its exit status: e2e_expect_exit STATUS
e2e_expect_exit() {
    local status=0 tries=0
    while kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && e2e_fail "the program did not end"
        sleep 0.1
    done
    wait "$E2E_PROGRAM_PID" || status=$?
    E2E_PROGRAM_PID=
    [ "$status" = "$1" ] || e2e_fail "exit status $status, expected $1; stderr: $(cat "$E2E_WORK/program.err")"
    echo "ok: exit status $status"
}
