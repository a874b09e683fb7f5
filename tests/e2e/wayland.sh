#!/usr/bin/env bash
# The real window natively on a private headless weston, with only
# WAYLAND_DISPLAY naming a display: it shows the sunshine as --save draws it.
# Usage: wayland.sh EXECUTABLE BUTTONS_EXECUTABLE
source "$(dirname "$0")/harness.sh"

e2e_setup "$@"
unset DISPLAY QT_QPA_PLATFORM XDG_SESSION_TYPE
export XDG_RUNTIME_DIR="$E2E_WORK/runtime" WAYLAND_DISPLAY=sweepdraw-e2e
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The window's client area alone: the foot of the box round the green on
# weston's black, which takes in Qt's title bar's icon. It needs --debug.
e2e_screenshot() {
    (cd "$XDG_RUNTIME_DIR" && weston-screenshooter && mv wayland-screenshot-*.png shot.png)
    read -r _ height x y < <(convert "$XDG_RUNTIME_DIR/shot.png" -fill black +opaque "rgb($E2E_BACKGROUND)" \
        -format "%@\n" info: 2>/dev/null | tr 'x+' '  ')
    convert "$XDG_RUNTIME_DIR/shot.png" -crop "800x552+$x+$((y + height - 552))" +repage "$1" 2>/dev/null || true
}
printf '[shell]\nbackground-color=0xff000000\npanel-position=none\n' >"$E2E_WORK/weston.ini"
weston --backend=headless-backend.so --use-pixman --debug --socket="$WAYLAND_DISPLAY" \
    --config="$E2E_WORK/weston.ini" >"$E2E_WORK/weston.log" 2>&1 &
e2e_started $!
timeout 10 bash -c "until [ -S '$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY' ]; do sleep 0.1; done" \
    || e2e_fail "weston did not start: $(cat "$E2E_WORK/weston.log")"
e2e_expected "$E2E_WORK/sun.png" 阳光
"$E2E_PROGRAM" --run sunshine --speed instant >"$E2E_WORK/program.out" 2>"$E2E_WORK/program.err" &
E2E_PROGRAM_PID=$!
e2e_expect_picture "on weston the sunshine is as --save draws it" "$E2E_WORK/sun.png"
