#!/usr/bin/env bash
# check-format.sh [--fix]: every C++ file of the tree follows .clang-format. Without --fix it lists
# the files that do not and fails; with --fix it formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -ne 0 ]; then
  printf 'not formatted (scripts/check-format.sh --fix formats them):\n' >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
