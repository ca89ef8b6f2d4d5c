#!/usr/bin/env bash
# run-tests.sh DIR [ctest options...]: runs every test of the built tree DIR, with their files in
# a temporary folder of this run's own (TMPDIR), removed at the end whatever the tests left.
set -euo pipefail
dir=$1
shift
run=$(mktemp -d "${TMPDIR:-/tmp}/hm-test.XXXXXX")
# A FUSE folder a test could not unmount (it was killed) goes before the files under it.
cleanup() {
  awk -v run="$run/" 'index($2, run) == 1 { print $2 }' /proc/self/mounts | xargs -r -n1 fusermount -u -z 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT
# Searchable by other users (not listable): a print queue's filters run as another user.
chmod 711 "$run"
cd "$dir"
TMPDIR=$run ctest --output-on-failure -j"${CTEST_PARALLEL_LEVEL:-$(nproc)}" "$@"
