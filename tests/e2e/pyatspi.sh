# Sourced by the tests that read the window through AT-SPI, as a screen
# reader does: finds the Python that has pyatspi, in E2E_PYTHON. The harness
# runs every test on a private session bus, where the AT-SPI registry starts.

# Debian's pyatspi is for Debian's own Python.
E2E_PYTHON=/usr/bin/python3
"$E2E_PYTHON" -c 'import pyatspi' 2>/dev/null \
    || { echo "FAIL: pyatspi is missing (packages python3-pyatspi and at-spi2-core)" >&2; exit 1; }
