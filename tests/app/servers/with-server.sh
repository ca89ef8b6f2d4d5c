#!/usr/bin/env bash
# with-server.sh [--ends] [--log-has TEXT]... SERVER [ARG...] -- CLIENT [ARG...]
#
# Starts a server fixture (it prints its port as its first line), runs the client with
# HM_SERVER_PORT set to that port, then stops the fixture by its process id. With --ends the
# fixture is expected to finish by itself after the client, and its exit status counts. A fixture
# that fails while the client runs stops the client at once (TERM by its process id), so the run
# ends with the fixture's reason rather than at the client's time limit. Each --log-has TEXT must
# appear in the fixture's output, which is shown on standard error at the end. Fails when the
# fixture gives no port within 40 s, when the client fails or a check fails.
set -uo pipefail

ends=0
has=()
while [ $# -gt 0 ]; do
  case $1 in
  --ends) ends=1; shift ;;
  --log-has) has+=("$2"); shift 2 ;;
  *) break ;;
  esac
done
server=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do server+=("$1"); shift; done
[ $# -gt 1 ] && [ ${#server[@]} -gt 0 ] || { echo "usage: with-server.sh [--ends] [--log-has TEXT]... SERVER... -- CLIENT..." >&2; exit 2; }
shift

log=$(mktemp "${TMPDIR:-/tmp}/hm-server-log.XXXXXX")
pid= client=
finish() {
  # A child stopped before it became the client runs this too: only this shell cleans up.
  [ "$BASHPID" = $$ ] || return 0
  [ -n "$client" ] && stop_client
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -f "$log"
}
trap finish EXIT
trap 'exit 1' TERM INT HUP
# stop_client: TERM until the client is gone, KILL after 5 s. A child just forked still holds this
# shell's TERM trap until it execs the client, and would swallow a single TERM sent in that moment.
stop_client() {
  local i
  for ((i = 0; i < 100; i++)); do
    kill "$client" 2>/dev/null || return 0
    sleep 0.05
  done
  kill -KILL "$client" 2>/dev/null
}

"${server[@]}" >"$log" &
pid=$!

port=
for ((i = 0; i < 800; i++)); do
  # Alive before the read: a fixture that prints its port and ends at once is still read whole.
  alive=1
  kill -0 "$pid" 2>/dev/null || alive=0
  port=$(head -n 1 "$log")
  [[ $port =~ ^[0-9]+$ ]] && break
  port=
  [ $alive -eq 1 ] || break
  sleep 0.05
done
if [ -z "$port" ]; then
  echo "with-server: ${server[0]} gave no port" >&2
  cat "$log" >&2
  exit 1
fi

HM_SERVER_PORT=$port "$@" &
client=$!
# Whichever of the two ends first; a fixture that ends by itself is waited for no more. Polled, not
# `wait -n`: that ignores a child the shell has already reaped, so a fixture that failed before
# the client started would leave the run waiting on the client for its whole time.
server_status=
while kill -0 "$pid" 2>/dev/null && kill -0 "$client" 2>/dev/null; do sleep 0.05; done
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  server_status=$?
  if [ "$server_status" -ne 0 ]; then
    echo "with-server: ${server[0]} failed ($server_status) while the client ran: the client is stopped" >&2
    stop_client
  fi
  wait "$client"
  status=$?
else
  wait "$client"
  status=$?
fi
client=
[ $status -eq 0 ] || echo "with-server: the client failed ($status)" >&2

if [ -n "$server_status" ]; then
  [ "$server_status" -eq 0 ] || status=1
elif [ $ends -eq 1 ]; then
  for ((i = 0; i < 600; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && { echo "with-server: ${server[0]} did not end" >&2; status=1; kill "$pid"; }
  wait "$pid"
  server_status=$?
  [ $server_status -eq 0 ] || { echo "with-server: ${server[0]} failed ($server_status)" >&2; status=1; }
else
  kill "$pid" 2>/dev/null
  wait "$pid"
fi
pid=

sed 's/^/server: /' "$log" >&2
for text in "${has[@]}"; do
  grep -qF -- "$text" "$log" || { echo "with-server: the server's output lacks: $text" >&2; status=1; }
done
exit $status
