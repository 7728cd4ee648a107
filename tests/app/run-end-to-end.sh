#!/usr/bin/env bash
# Starts the bundled question-bank server on a free loopback port with the
# test bank, then runs the end-to-end test on a virtual X display.
#   run-end-to-end.sh <server> <test program> <bank file> <artifact dir>
set -euo pipefail
server=$1 test_program=$2 bank=$3 artifacts=$4

log=$(mktemp)
"$server" --host 127.0.0.1 --port 0 --bank "$bank" >"$log" 2>&1 &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; rm -f "$log"' EXIT

host=""
for _ in $(seq 100); do
  host=$(sed -n 's|.*listening on http://\([0-9.]*:[0-9]*\).*|\1|p' "$log")
  [ -n "$host" ] && break
  kill -0 "$server_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$host" ]; then
  echo "the question-bank server did not start:" >&2
  cat "$log" >&2
  exit 1
fi

mkdir -p "$artifacts"
QL_E2E_QUESTION_BANK_HOST=$host QL_E2E_ARTIFACT_DIR=$artifacts \
  timeout 240 xvfb-run -a -s "-screen 0 1280x1024x24" "$test_program"
