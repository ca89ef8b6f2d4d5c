#!/usr/bin/env bash
# check.sh APPRUN INPUT EXPECTED [BOOK]: runs apprun with --scripted-net on INPUT in a fresh
# program folder and compares its output with EXPECTED; with BOOK, also the book file it left.
# "$HM_SERVER_PORT" in INPUT becomes the port of a server that with-server.sh started, and the
# run then goes to the network. The CPU meters read FOLDER/stat, idle until a case writes it.
# The files NAME.* beside NAME.in other than NAME.out (a command file, a walk) are copied into
# the folder's Cmd. With HM_UPDATE_GOLDEN set, the output becomes EXPECTED.
set -u
apprun=$1 input=$2 expected=$3 book=${4:-}
folder=$(mktemp -d)
# Only this shell cleans up, not a child stopped before it became apprun (it has these traps).
trap '[ "$BASHPID" = $$ ] && rm -rf "$folder"' EXIT
net=--scripted-net
if [ -n "${HM_SERVER_PORT:-}" ]; then
  net=
  sed "s/\$HM_SERVER_PORT/$HM_SERVER_PORT/g" "$input" >"$folder/input"
  input=$folder/input
fi
printf 'cpu0 0 0 0 0 0 0 0 0 0 0\n' >"$folder/stat"
mkdir -p "$folder/Cmd"
for companion in "${2%.in}".*; do
  case $companion in *.in|*.out) ;; *) cp "$companion" "$folder/Cmd/" ;; esac
done
# Stopped from outside (a server fixture that failed), apprun goes too, and shows how far it got.
"$apprun" --folder "$folder" $net --proc-stat "$folder/stat" "$input" >"$folder/out" 2>"$folder/err" &
run=$!
stopped() {
  [ "$BASHPID" = $$ ] || exit 1
  kill "$run" 2>/dev/null
  wait "$run"
  echo "--- apprun was stopped; its output so far:"; cat "$folder/out" "$folder/err"
  exit 1
}
trap stopped TERM INT HUP
wait "$run"
status=$?
# apprun has ended by itself: what is left (the comparison) is quick and is seen through.
trap '' TERM INT HUP
[ -n "${HM_SERVER_PORT:-}" ] && sed -i "s/$HM_SERVER_PORT/\$HM_SERVER_PORT/g" "$folder/out"
sed -i "s|$folder|\$FOLDER|g" "$folder/out"
[ -n "${HM_UPDATE_GOLDEN:-}" ] && cp "$folder/out" "$expected"
if ! diff -u "$expected" "$folder/out"; then
  echo "--- apprun's standard error:"; cat "$folder/err"
  exit 1
fi
[ "$status" -eq 0 ] || { echo "apprun ended with $status"; exit 1; }
if [ -n "$book" ] && ! cmp "$book" "$folder/CharBooks/CharBooks"; then
  od -c "$folder/CharBooks/CharBooks" | head -40
  exit 1
fi
exit 0
