#!/usr/bin/env bash
# build.sh DIR [--target NAME]... [cmake options...]: configures (once) and builds into DIR, with
# warnings as errors: the whole tree, or only the targets named (and what they need).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
targets=() options=()
while [ $# -gt 0 ]; do
  if [ "$1" = --target ] && [ $# -gt 1 ]; then
    targets+=(--target "$2"); shift 2
  else
    options+=("$1"); shift
  fi
done
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DHM_WERROR=ON "${options[@]}" >/dev/null
elif ! grep -q '^HM_WERROR:BOOL=ON$' "$dir/CMakeCache.txt"; then
  cmake -DHM_WERROR=ON "$dir" >/dev/null  # a tree configured before the option existed
fi
cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)"
