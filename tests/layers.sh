#!/usr/bin/env bash
# Folders are layers: a file includes only from its own folder and the
# folders below it, and no two classes, nor two folders, include each other,
# directly or through others. A class is a header with its source file.
# Usage: layers.sh [TOP]  (TOP: the source tree, this one by default)
set -euo pipefail
top=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# Each folder, and the folders it may include from.
declare -A uses=(
    [core]=""
    [scenes]="core"
    [routine]="core"
    [runner]="core scenes routine"
    [wording]="core scenes routine runner"
    [driver]="core scenes routine runner wording"
    [files]="core scenes routine runner wording"
    [export]="core scenes routine runner wording driver files"
    [codepane]="core scenes routine runner wording driver files"
    [window]="core scenes routine runner wording driver files export codepane"
    [web]="core scenes routine runner wording"
    [app]="core scenes routine runner wording driver files export codepane window"
    [bench]="core scenes routine runner wording driver files export codepane window"
)
# Headers a folder may not include although their folder is below it: the
# bench times the stage and the runner, never the main window.
declare -A refused=([bench]="Form1.h")
# Files that may all the same: the figure for a dragged number times the
# window's own path from the drag to the finished picture.
declare -A excepted=([bench]="EditBench.cpp")

failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

declare -A folder_of=()
files=()
for folder in "${!uses[@]}"; do
    for file in "$top/$folder"/*.h "$top/$folder"/*.cpp; do
        [ -e "$file" ] || continue
        files+=("$folder/${file##*/}")
        name=${file##*/}
        [ "${name%.h}" != "$name" ] || continue
        [ -z "${folder_of[$name]:-}" ] || fail "$name is in both ${folder_of[$name]}/ and $folder/"
        folder_of[$name]=$folder
    done
done

class_edges=$(mktemp)
folder_edges=$(mktemp)
trap 'rm -f "$class_edges" "$folder_edges"' EXIT
for file in "${files[@]}"; do
    folder=${file%%/*}
    name=${file#*/}
    while read -r included; do
        target=${folder_of[$included]:-}
        # Generated files (.moc, resources) and other projects' headers.
        [ -n "$target" ] || continue
        if [ "$target" != "$folder" ]; then
            [[ " ${uses[$folder]} " == *" $target "* ]] \
                || fail "$folder/$name includes $target/$included, which $folder/ may not use"
            echo "$folder $target" >>"$folder_edges"
        fi
        [[ " ${refused[$folder]:-} " != *" $included "* || " ${excepted[$folder]:-} " == *" $name "* ]] \
            || fail "$folder/$name includes $included, which $folder/ may not use"
        from=$folder/${name%.*}
        to=$target/${included%.*}
        [ "$from" = "$to" ] || echo "$from $to" >>"$class_edges"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$top/$folder/$name")
done

tsort "$class_edges" >/dev/null 2>"$class_edges.loop" \
    || fail "classes include each other: $(grep -v 'input contains a loop' "$class_edges.loop" | sed 's/^tsort: //' | tr '\n' ' ')"
tsort "$folder_edges" >/dev/null 2>"$folder_edges.loop" \
    || fail "folders include each other: $(grep -v 'input contains a loop' "$folder_edges.loop" | sed 's/^tsort: //' | tr '\n' ' ')"
rm -f "$class_edges.loop" "$folder_edges.loop"

[ "$failed" = 0 ] || exit 1
echo "ok: every include points down, and none runs in a circle"
