#!/usr/bin/env bash
# Runs one end-to-end test with every core kept busy, as on a loaded build
# machine: it passes as it does on an idle one, and leaves nothing it started
# running. The busy loops end by themselves, whatever becomes of this script.
# Usage: busy.sh TEST EXECUTABLE BUTTONS_EXECUTABLE
set -uo pipefail

test=$1
shift
busy=()
for ((i = 0; i < $(nproc); i++)); do
    timeout 240 bash -c 'while :; do :; done' &
    busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null; wait "${busy[@]}" 2>/dev/null' EXIT

# In a session of its own, so that whatever it leaves behind can be found.
setsid bash "$(dirname "$0")/$test.sh" "$@" &
session=$!
wait "$session"
status=$?
[ "$status" = 0 ] || { echo "FAIL: $test exited with $status with every core busy" >&2; exit 1; }
# A process of the session may be ending just now, the private bus's daemon
# among them: give them 5 s to be gone.
deadline=$((SECONDS + 5))
while left=$(pgrep -a -s "$session") && [ $SECONDS -lt $deadline ]; do
    sleep 0.1
done
if [ -n "$left" ]; then
    echo "FAIL: $test left these running:" >&2
    echo "$left" >&2
    pkill -KILL -s "$session"
    exit 1
fi
echo "ok: $test passed with every core busy, and ended all it started"
