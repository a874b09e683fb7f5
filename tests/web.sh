#!/usr/bin/env bash
# The page in a real browser: builds it with scripts/web --build (into the
# source tree's build/web, as a person would), runs the engine alone built
# with it under node, then runs the page's tests with node's own test
# runner against Debian's chromium.
# Usage: web.sh [SWEEPDRAW_EXECUTABLE]  (the desktop program, for --save)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
scripts/web --build >/dev/null
# The engine's runner in WebAssembly, with no fiber: the scenes' files drawn
# a piece at a time at the normal speed end on the scenes' own picture; and
# the learners' routines, with their branches, loops and calls, draw what
# their compiled forms draw.
node build/web-engine/web/draw-alone.cjs scenes bench/routines
SWEEPDRAW_EXECUTABLE=${1:-} node --test tests/web/
