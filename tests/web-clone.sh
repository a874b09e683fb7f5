#!/usr/bin/env bash
# The page builds from a clean clone of the tree's last commit with nothing
# but scripts/web --build, which installs its npm packages as the lock file
# pins them, and the page so built draws the scenes as the desktop pins them.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
git -c advice.detachedHead=false clone -q --no-local "$top" "$scratch/clone"
(cd "$scratch/clone" && scripts/web --build >"$scratch/build.log" 2>&1) \
    || { cat "$scratch/build.log" >&2; echo "FAIL: the page does not build from a clean clone" >&2; exit 1; }
for file in index.html page.css page.js engine.wasm fonts/kai.woff fonts/ARPHICPL.TXT; do
    [ -s "$scratch/clone/build/web/$file" ] || { echo "FAIL: the clean clone's build has no $file" >&2; exit 1; }
done
cd "$scratch/clone"
SWEEPDRAW_WEB=$scratch/clone/build/web node --test --test-name-pattern='pins' tests/web/
