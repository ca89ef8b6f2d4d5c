#!/usr/bin/env bash
# with-xvfb.sh [-s "SERVER ARGS"] COMMAND [ARGS...]: runs COMMAND on an X server of its own and
# exits with its status. Xvfb picks a free display itself (-displayfd) and says which once it is
# ready, so runs started together never race for a display number or end up on each other's
# server (which makes one test's window take another's focus).
set -euo pipefail
server_args="-screen 0 1024x768x24"
if [ "${1:-}" = "-s" ]; then
  server_args=$2
  shift 2
fi
command -v Xvfb > /dev/null || { echo "with-xvfb: Xvfb is not installed (scripts/setup.sh)" >&2; exit 1; }
ready=$(mktemp)
# shellcheck disable=SC2086  # the server's arguments are words
Xvfb -displayfd 3 -nolisten tcp $server_args 3> "$ready" 2> "$ready.log" &
server=$!
stop() {
  kill "$server" 2> /dev/null || true
  wait "$server" 2> /dev/null || true
  rm -f "$ready" "$ready.log"
}
trap stop EXIT
# The server writes its display number when it accepts clients; a loaded machine may take a while.
for _ in $(seq 1 600); do
  [ -s "$ready" ] && break
  kill -0 "$server" 2> /dev/null || { echo "with-xvfb: Xvfb did not start:" >&2; cat "$ready.log" >&2; exit 1; }
  sleep 0.05
done
[ -s "$ready" ] || { echo "with-xvfb: Xvfb gave no display within 30 s" >&2; exit 1; }
DISPLAY=:$(head -n1 "$ready")
export DISPLAY
status=0
"$@" || status=$?
exit $status
