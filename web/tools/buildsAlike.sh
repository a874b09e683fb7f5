#!/usr/bin/env bash
# Compiles web/tools/BuildsAlike.cpp with g++ against the desktop's engine
# and with emscripten against the page's, runs both (the second in node) and
# says how many lines differ: of sine and cosine over N arguments, and of
# the pictures of ROUTINES learner's routines, and of as many again, every
# other four taking their sines and cosines of floats.
# Usage: buildsAlike.sh [N] [ROUTINES] [NATIVE_BUILD] [WEB_BUILD]
#   (N 200000, ROUTINES 200; build/default and build/web-engine by default)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
count=${1:-200000}
routines=${2:-200}
native=${3:-$top/build/default}
web=${4:-$top/build/web-engine}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
libs() { echo "$1/routine/libsweepdraw_routine.a $1/scenes/libsweepdraw_scenes.a $1/core/libsweepdraw_core.a"; }
includes=(-I"$top/core" -I"$top/scenes" -I"$top/routine")

g++ -std=c++20 -O2 "${includes[@]}" "$top/web/tools/BuildsAlike.cpp" $(libs "$native") -o "$work/native"
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
em++ -std=c++20 -O2 -fwasm-exceptions -sENVIRONMENT=node -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 "${includes[@]}" \
    "$top/web/tools/BuildsAlike.cpp" $(libs "$web") -o "$work/web.js"

compare() {
    "$work/native" "$@" >"$work/native.txt"
    # This emscripten loads its .wasm with fetch wherever there is one.
    node --no-experimental-fetch "$work/web.js" "$@" >"$work/web.txt"
    paste -d'|' "$work/native.txt" "$work/web.txt" | awk -F'|' -v what="$1" '
        { n++; if ($1 != $2) d++
          if (what == "functions") { split($1, a, " "); split($2, b, " ")
              for (i = 1; i <= 6; i++) if (a[i] != b[i]) col[i]++ }
          else { split($1, a, " "); split($2, b, " "); kind[a[2]]++
                 if (a[3] != b[3]) pixels++; if (a[4] != b[4]) operations++ } }
        END { printf "%s: %d of %d lines differ (%.2f %%)\n", what, d, n, 100 * d / n
              if (what == "functions")
                  printf "  sin %d, cos %d, sincos %d and %d, sinf %d, cosf %d\n",
                         col[1], col[2], col[3], col[4], col[5], col[6]
              else {
                  printf "  pictures differing %d, operations differing %d\n", pixels, operations
                  for (k in kind) printf "  %s: %d\n", k, kind[k] } }'
}
compare functions "$count"
compare routines "$routines" "$top/scenes"
compare floats "$routines" "$top/scenes"
