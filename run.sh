#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
./scripts/build.sh build
if [ -x build/bin/hanmud ]; then
  exec build/bin/hanmud "$@"
fi
# The windows are not built yet: show the most complete part there is.
echo "The program's windows are not built yet; nothing to start." >&2
exit 1
