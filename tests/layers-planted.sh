#!/usr/bin/env bash
# The layers check passes a copy of the tree as it is, and fails the same
# copy with an include planted that points up, or that closes a circle.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Checks a fresh copy with LINE appended to FILE (none if empty), and
# expects the check's verdict to be EXPECTED (pass or fail).
check() {
    local expected=$1 file=$2 line=$3
    rm -rf "$work/tree"
    mkdir "$work/tree"
    cp -r "$here"/../{core,scenes,routine,runner,driver,files,export,codepane,window,app,bench} "$work/tree/"
    [ -z "$file" ] || echo "$line" >>"$work/tree/$file"
    local verdict=pass
    bash "$here/layers.sh" "$work/tree" >/dev/null 2>&1 || verdict=fail
    [ "$verdict" = "$expected" ] \
        || { echo "FAIL: the check should $expected ${file:-the tree as it is}${line:+ with $line}" >&2; exit 1; }
}

check pass "" ""
check fail runner/Pace.cpp '#include "Form1.h"'
check fail export/Recording.cpp '#include "Stage.h"'
check fail bench/main.cpp '#include "Form1.h"'
check fail window/Panel.h '#include "Form1.h"'
echo "ok: the layers check fails each include planted against the layers"
