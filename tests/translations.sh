#!/usr/bin/env bash
# The translations follow the sources: lupdate run afresh over the folders
# that show texts, and the English wordings of the engine's faults, changes neither .ts file, and every text has its Chinese translation.
# Usage: translations.sh LUPDATE
set -euo pipefail
translations=$(cd "$(dirname "${BASH_SOURCE[0]}")/../translations" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$translations"/*.ts "$work"/
top="$translations/.."
"$1" -silent -no-obsolete -locations none "$top/wording" "$top/runner" "$top/files" "$top/export" "$top/codepane" "$top/window" "$top/app" "$top/web/PageTexts.h" -ts "$work"/*.ts
diff -ru "$translations" "$work" \
    || { echo "FAIL: the .ts files do not follow the sources; build update_translations" >&2; exit 1; }
! grep -B2 'type="unfinished"' "$work/sweepdraw_zh_CN.ts" \
    || { echo "FAIL: these texts have no Chinese translation" >&2; exit 1; }
echo "ok: the translations follow the sources"
