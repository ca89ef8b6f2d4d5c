#!/usr/bin/env bash
# A TinyMUX game on 127.0.0.1, installed afresh in a temporary folder (see lib.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
install=/usr/games/tinymux-install
[ -x "$install" ] || { echo "tinymux is not installed ($install)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hm-tinymux.XXXXXX")
game=$work/tinymux/game
started=
stop_servers() {
  [ -n "$started" ] || return 0
  # netmux writes its pid file itself, just after Startmux returns.
  local i
  for ((i = 0; i < 40; i++)); do
    [ -s "$game/netmux.pid" ] && break
    sleep 0.05
  done
  [ -s "$game/netmux.pid" ] && stop_pid "$(cat "$game/netmux.pid")"
}
. "$here/lib.sh"

cd "$work"
"$install" >/dev/null
port=$(free_port)
cd "$game"
sed -i "s/^port .*/port $port\nip_address 127.0.0.1/" netmux.conf
started=1
./Startmux >&2
wait_port "$port"
serve "$port"
