#!/usr/bin/env bash
# The page in a real browser: builds it with scripts/web --build (into the
# source tree's build/web, as a person would), then runs its tests with
# node's own test runner against Debian's chromium.
# Usage: web.sh [SWEEPDRAW_EXECUTABLE]  (the desktop program, for --save)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
scripts/web --build >/dev/null
SWEEPDRAW_EXECUTABLE=${1:-} node --test tests/web/
