#!/usr/bin/env bash
# test-unprivileged.sh DIR [USER]: run as root, runs every test of the built tree DIR once more
# as a user other than root (USER, hanmud-test by default, made when missing), with a home and a
# TMPDIR of its own, so that a test that needs root, or a file of another run, fails here. The
# folders above the source and build trees are made searchable for the run and set back after;
# the user's files are removed.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "test-unprivileged: run as root" >&2; exit 2; }
build=$(cd "$1" && pwd)
user=${2:-hanmud-test}
source=$PWD
if ! id -u "$user" >/dev/null 2>&1; then
  useradd --system --user-group --no-create-home --shell /usr/sbin/nologin "$user"
fi
as_user() { setpriv --reuid="$user" --regid="$user" --init-groups "$@"; }

# Folders the user cannot search on the way to either tree, searchable for the run only.
opened=()
open_path() {
  local d=$1
  while [ "$d" != / ]; do
    if ! as_user test -x "$d" 2>/dev/null; then
      opened+=("$d:$(stat -c %a "$d")")
      chmod o+x "$d"
    fi
    d=$(dirname "$d")
  done
}
home=$(mktemp -d "${TMPDIR:-/tmp}/hm-test-user.XXXXXX")
restore() {
  local entry
  for entry in "${opened[@]}"; do chmod "${entry##*:}" "${entry%:*}"; done
  [ -d "$build/Testing" ] && chown -R root:root "$build/Testing"
  rm -rf "$home"
}
trap restore EXIT
mkdir "$home/tmp"
chown -R "$user" "$home"
# The lists of cases CTest finds in each test program, written into the tree before the user reads
# them; CTest keeps its logs and the cases' costs in the tree's Testing folder.
(cd "$build" && ctest -N >/dev/null)
mkdir -p "$build/Testing"
chown -R "$user" "$build/Testing"
open_path "$source"
open_path "$build"
open_path "$(dirname "$home")"

as_user env -i PATH="$PATH" HOME="$home" TMPDIR="$home/tmp" USER="$user" LOGNAME="$user" LANG="${LANG:-C.UTF-8}" \
  ${CTEST_PARALLEL_LEVEL:+CTEST_PARALLEL_LEVEL="$CTEST_PARALLEL_LEVEL"} "$source/scripts/run-tests.sh" "$build"
