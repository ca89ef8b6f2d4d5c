#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
./scripts/build.sh build
if [ -x build/bin/hanmud ]; then
  exec build/bin/hanmud "$@"
fi
# The windows are not built yet. The most complete part is the script engine: scriptrun keeps one
# character's script state and reads directives from the keyboard ("> TEXT" runs a typed line,
# "< TEXT" feeds host text, "+ SECONDS" advances the clock, "? var NAME" shows a variable).
echo "hanmud: the windows are not built yet; starting the script engine's console (scriptrun)." >&2
echo "Type commands as '> TEXT', host text as '< TEXT'; Ctrl+D ends." >&2
exec build/bin/scriptrun "$@"
