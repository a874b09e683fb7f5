#!/usr/bin/env bash
# The engine, core/, scenes/, routine/ and runner/, configures, builds and links on
# its own with Qt and Boost out of reach, as a build for a page does:
# configured with SWEEPDRAW_ENGINE_ONLY in a scratch tree, with
# find_package(Qt6) and find_package(Boost) disabled. It fails if any file
# the compiler read, or any flag it was given, is Qt's or Boost's, and then
# links a program of the engine alone and runs it.
# Usage: engine.sh [TOP]  (TOP: the source tree, this one by default)
set -euo pipefail
top=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
build=$scratch/build

# Unoptimised and without debug information: only whether it builds counts.
cmake -S "$top" -B "$build" -G Ninja -DSWEEPDRAW_ENGINE_ONLY=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DCMAKE_DISABLE_FIND_PACKAGE_Boost=ON \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG= >"$scratch/configure.log" 2>&1 \
    || { cat "$scratch/configure.log" >&2; echo "FAIL: the engine alone does not configure" >&2; exit 1; }
cmake --build "$build" -j2 >"$scratch/build.log" 2>&1 \
    || { cat "$scratch/build.log" >&2; echo "FAIL: the engine alone does not build" >&2; exit 1; }

# Every header each object was compiled from, and every command run, with
# the source and build trees' own paths left out: what is left names no Qt
# and no Boost.
if ninja -C "$build" -t deps | grep -F -v -e "$top/" -e "$build/" | grep -i -e qt -e boost >&2; then
    echo "FAIL: the engine reads the headers above, which are Qt's or Boost's" >&2
    exit 1
fi
if ninja -C "$build" -t commands | sed -e "s|$top/||g" -e "s|$build/||g" | grep -i -e qt -e boost >&2; then
    echo "FAIL: the engine is built with the commands above, which name Qt or Boost" >&2
    exit 1
fi

# A program of the engine alone, linked from its libraries with nothing
# else but the standard library, draws every scene and the learners'
# routines, and runs the scenes.
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
learners=$top/bench/routines
"$compiler" -std=c++20 -I"$top/core" -I"$top/scenes" -I"$top/routine" -I"$top/runner" "$top/tests/engine/DrawAlone.cpp" \
    "$learners/Rose.cpp" "$learners/Spiral.cpp" "$learners/Grid.cpp" \
    "$build/runner/libsweepdraw_runner.a" "$build/routine/libsweepdraw_routine.a" "$build/scenes/libsweepdraw_scenes.a" \
    "$build/core/libsweepdraw_core.a" -o "$scratch/draw-alone"
if ldd "$scratch/draw-alone" | grep -i -e qt -e boost >&2; then
    echo "FAIL: the program of the engine alone loads Qt or Boost" >&2
    exit 1
fi
"$scratch/draw-alone" "$top/scenes" "$learners"
echo "ok: the engine builds, links and draws without Qt or Boost"
