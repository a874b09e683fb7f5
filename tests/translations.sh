#!/usr/bin/env bash
# The translations follow the sources: lupdate run afresh over window/
# changes neither .ts file, and every text has its Chinese translation.
# Usage: translations.sh LUPDATE
set -euo pipefail
lupdate=$1
translations=$(cd "$(dirname "${BASH_SOURCE[0]}")/../translations" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$translations"/*.ts "$work"/
"$lupdate" -silent -no-obsolete -locations none "$translations/../window" -ts "$work"/*.ts
failures=0
for ts in "$translations"/*.ts; do
    if ! diff -u "$ts" "$work/${ts##*/}"; then
        echo "FAIL: ${ts##*/} does not follow the sources; build the update_translations target" >&2
        failures=1
    fi
done
untranslated=$(grep -c 'type="unfinished"' "$work/sweepdraw_zh_CN.ts" || true)
if [ "$untranslated" != 0 ]; then
    echo "FAIL: $untranslated text(s) have no Chinese translation in sweepdraw_zh_CN.ts" >&2
    failures=1
fi
[ $failures = 0 ] && echo "ok: the translations follow the sources"
exit $failures
