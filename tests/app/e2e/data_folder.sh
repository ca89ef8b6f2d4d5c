#!/usr/bin/env bash
# data_folder.sh APPRUN: the player's files live in the data folder ($XDG_DATA_HOME/hanmud), not
# beside the program nor in the folder it was started from. One build of the program makes a
# character and its command file; that build is deleted, and a build elsewhere finds the book,
# loads the command file, and lists the fonts shipped beside it in the settings dialog.
set -u
apprun=$(realpath "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export XDG_DATA_HOME=$root/data HOME=$root/home
data=$XDG_DATA_HOME/hanmud
mkdir -p "$root/started-here"
cd "$root/started-here" || exit 1

# A build: the program and its fonts in a folder of their own.
build() {
  mkdir -p "$root/$1"
  cp "$apprun" "$root/$1/apprun"
  cp -r "$(dirname "$apprun")/Fonts" "$root/$1/Fonts"
}
run() {
  "$root/$1/apprun" --data-folder --scripted-net "$root/$1.in" >"$root/$1.out" 2>"$root/$1.err" ||
    { echo "apprun failed:"; cat "$root/$1.err"; exit 1; }
}
fail() { echo "$1"; cat "$2"; exit 1; }

build first
printf '%s\n' 'book add 머드|전사|127.0.0.1|4000' 'open 0' 'exec #vs 이름 한빛' 'exec #save Cmd\\hanbit.Cmd' close \
  >"$root/first.in"
run first
[ -f "$data/CharBooks/CharBooks" ] || fail "no book in the data folder:" "$root/first.out"
[ -f "$data/Cmd/hanbit.Cmd" ] || fail "no command file in the data folder:" "$root/first.out"
[ "$(ls "$root/first")" = "$(printf 'Fonts\napprun')" ] || fail "files beside the program:" <(ls -R "$root/first")
[ -z "$(ls -A "$root/started-here")" ] || fail "files in the folder it was started from:" <(ls -R "$root/started-here")

rm -rf "$root/first"
build second
printf '%s\n' 'book load' 'book list' start 'open 0' 'var 이름' 'modal TTerminalConfig get HanBox ; close' \
  'click TAnsiTerminalForm ActionOptionConfig' close >"$root/second.in"
run second
grep -qx 'LOADED 1' "$root/second.out" || fail "the book was not found:" "$root/second.out"
grep -q '^ENTRY 0|.*|Cmd\\\\hanbit.Cmd|' "$root/second.out" || fail "the book lost its command file:" "$root/second.out"
grep -qx 'VAR 이름|한빛' "$root/second.out" || fail "the command file was not loaded:" "$root/second.out"
grep -qx 'GET HanBox|뻗음꼴.han' "$root/second.out" || fail "the fonts beside the program are not offered:" "$root/second.out"
echo "the book and the command file outlive the build that wrote them"
