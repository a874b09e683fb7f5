# Sourced first by the tests that read the window through AT-SPI, as a
# screen reader does: runs the test again on a private session bus, and
# finds the Python that has pyatspi, in E2E_PYTHON.
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing (package dbus)" >&2; exit 1; }
    E2E_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

# Debian's pyatspi is for Debian's own Python.
E2E_PYTHON=/usr/bin/python3
"$E2E_PYTHON" -c 'import pyatspi' 2>/dev/null \
    || { echo "FAIL: pyatspi is missing (packages python3-pyatspi and at-spi2-core)" >&2; exit 1; }
