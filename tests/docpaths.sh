#!/usr/bin/env bash
# The docs point at what is there: every path in backticks in README.md and
# docs/*.md that starts at a folder of this tree names a file or folder that
# exists, or a class there (its .h and .cpp), or a pattern that matches
# something. Paths into the build tree, the installed tree or the system are
# not this tree's, and are not checked. No page holds a merge's conflict
# markers.
# Usage: docpaths.sh [TOP]  (TOP: the source tree, this one by default)
set -euo pipefail
top=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$top"

failed=0
while IFS=: read -r page path; do
    folder=${path%%/*}
    [ -d "$folder" ] && [ "$folder" != build ] || continue
    # A pattern is left unquoted on purpose, to be expanded.
    # shellcheck disable=SC2086
    if compgen -G "$path" >/dev/null || [ -e "$path.h" ] || [ -e "$path.cpp" ]; then
        continue
    fi
    echo "FAIL: $page names \`$path\`, which is not in the tree" >&2
    failed=1
done < <(grep -o '`[^` ]*/[^` ]*`' README.md docs/*.md | tr -d '`' | sort -u)

# A merge left half done reads as two versions of one paragraph.
if grep -n -E '^(<<<<<<<|>>>>>>>) ' README.md docs/*.md >&2; then
    echo "FAIL: the lines above are a merge's conflict markers" >&2
    failed=1
fi

[ "$failed" = 0 ] && echo "ok: every path the docs name is in the tree, and no page holds a conflict"
exit "$failed"
