#!/usr/bin/env bash
# run-tests.sh DIR [ctest options...]: runs every test of the built tree DIR, with their files in
# a temporary folder of this run's own (TMPDIR), removed at the end whatever the tests left.
set -euo pipefail
dir=$1
shift
run=$(mktemp -d "${TMPDIR:-/tmp}/hm-test.XXXXXX")
trap 'rm -rf "$run"' EXIT
# Searchable by other users (not listable): a print queue's filters run as another user.
chmod 711 "$run"
cd "$dir"
TMPDIR=$run ctest --output-on-failure -j"${CTEST_PARALLEL_LEVEL:-$(nproc)}" "$@"
