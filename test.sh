#!/usr/bin/env bash
# test.sh [DIR [cmake options...]]: installs what is missing, builds the tree into DIR (build by
# default) and runs every test there.
set -euo pipefail
cd "$(dirname "$0")"
dir=${1:-build}
shift $(( $# > 0 ? 1 : 0 ))
./scripts/setup.sh
./scripts/build.sh "$dir" "$@"
./scripts/run-tests.sh "$dir"
