# Shared by the shell server fixtures, which all keep one contract: the fixture prints its port
# as the first line of its standard output once the port accepts connections on 127.0.0.1, then
# serves until it gets TERM, INT or HUP or until HM_SERVER_LIMIT seconds (120) have passed, and
# on every way out stops what it started, by process id, and removes its temporary folder.
#
# A fixture sets `work` (its temporary folder) and defines `stop_servers`, then sources this
# file and calls `serve PORT`.

sleeper=
finish() {
  stop_servers || true
  [ -n "$sleeper" ] && kill "$sleeper" 2>/dev/null
  [ -n "${work:-}" ] && rm -rf "$work"
}
trap finish EXIT
trap 'exit 0' TERM INT HUP

# A port of 127.0.0.1 that nothing listens on now.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Waits until PORT accepts a connection; fails after 30 s (a game starts slowly on a loaded
# machine).
wait_port() {
  local i
  for ((i = 0; i < 600; i++)); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.05
  done
  echo "port $1 never accepted" >&2
  return 1
}

# Sends TERM to PID and waits up to 5 s for it to go, then kills it.
stop_pid() {
  local pid=$1 i
  kill "$pid" 2>/dev/null || return 0
  for ((i = 0; i < 100; i++)); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.05
  done
  kill -KILL "$pid" 2>/dev/null || true
}

# Announces PORT and waits for a signal or the time limit.
serve() {
  echo "$1"
  sleep "${HM_SERVER_LIMIT:-120}" &
  sleeper=$!
  wait "$sleeper"
}
