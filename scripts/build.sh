#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures (once) and builds the whole tree into DIR, with
# warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DHM_WERROR=ON "$@" >/dev/null
elif ! grep -q '^HM_WERROR:BOOL=ON$' "$dir/CMakeCache.txt"; then
  cmake -DHM_WERROR=ON "$dir" >/dev/null  # a tree configured before the option existed
fi
cmake --build "$dir" -- -j"$(nproc)"
