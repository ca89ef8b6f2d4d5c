#!/usr/bin/env bash
# Installs what is missing, builds the program (with its fonts, nothing else) and starts it.
# ./test.sh builds the rest: the tests, benchmarks and tools.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
./scripts/build.sh build --target hanmud
exec build/bin/hanmud
