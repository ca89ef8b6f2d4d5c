#!/usr/bin/env bash
# tidy.sh [BUILD_DIR [PATH_REGEX]]: runs the .clang-tidy checks over the program's sources (not
# the tests, whose fixtures and rows are named for what they check) with the compile commands of
# BUILD_DIR (build by default). Fails when any check fails.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
filter=${2:-"$PWD/(platform|terminal|script|controls|grid|app|expr|tools|bench)/"}
cmake -S . -B "$dir" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
log=$(mktemp "${TMPDIR:-/tmp}/hm-tidy.XXXXXX")
trap 'rm -f "$log"' EXIT
run-clang-tidy -quiet -extra-arg=-Wno-unknown-warning-option -p "$dir" -j"$(nproc)" "$filter" >"$log" 2>&1 || status=$?
grep -E "warning:|error:" "$log" | grep -v "^Error while processing" || true
exit "${status:-0}"
