#!/usr/bin/env bash
# A strict telnet server on 127.0.0.1: tcpserver runs inetutils' telnetd for each connection,
# with a login program that prints a Korean line and the terminal type, then echoes every line
# it reads (see lib.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
telnetd=/usr/sbin/telnetd
command -v tcpserver >/dev/null || { echo "tcpserver is not installed (ucspi-tcp)" >&2; exit 1; }
[ -x "$telnetd" ] || { echo "telnetd is not installed (inetutils-telnetd)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hm-telnetd.XXXXXX")
server=
stop_servers() {
  [ -n "$server" ] || return 0
  # The telnetd of each open connection first, then the listener.
  local child
  for child in $(ps -o pid= --ppid "$server"); do
    stop_pid "$child"
  done
  stop_pid "$server"
}
. "$here/lib.sh"

# "한글" in cp949, then the terminal type the client gave.
cat >"$work/login" <<'SCRIPT'
#!/bin/sh
printf '\307\321\261\333 TERM=%s\r\n' "$TERM"
while IFS= read -r line; do printf 'echo: %s\n' "$line"; done
SCRIPT
chmod +x "$work/login"

port=$(free_port)
tcpserver -R -H 127.0.0.1 "$port" "$telnetd" -h -E "$work/login" &
server=$!
wait_port "$port"
serve "$port"
