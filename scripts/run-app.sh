#!/usr/bin/env bash
# Opens the desktop app. When nothing listens on 127.0.0.1:8080 yet, the
# bundled question-bank server is started there first and stopped again
# when the app exits.
#   scripts/run-app.sh <build dir>
set -euo pipefail
build="${1:-build}"
app="$build/app/question-lookup"
server="$build/tools/question-bank-server/question-bank-server"
server_host=127.0.0.1
server_port=8080

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run-app: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "run-app: run it from a desktop session, or on a virtual display: xvfb-run make run" >&2
  exit 1
fi
if [ ! -x "$app" ]; then
  echo "run-app: $app is missing; build it first (make build)" >&2
  exit 1
fi

listening() { (exec 3<>"/dev/tcp/$server_host/$server_port") 2>/dev/null; }

server_pid=""
stop_server() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
}
trap stop_server EXIT

if listening; then
  echo "run-app: using the question-bank server already listening on $server_host:$server_port"
else
  if [ ! -x "$server" ]; then
    echo "run-app: $server is missing; build it first (make build)" >&2
    exit 1
  fi
  "$server" --host "$server_host" --port "$server_port" &
  server_pid=$!
  for _ in $(seq 50); do
    listening && break
    if ! kill -0 "$server_pid" 2>/dev/null; then
      echo "run-app: the question-bank server did not start" >&2
      server_pid=""
      exit 1
    fi
    sleep 0.1
  done
fi

status=0
"$app" || status=$?
exit "$status"
