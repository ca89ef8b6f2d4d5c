#!/usr/bin/env bash
# killed_saves.sh APPRUN: apprun saves the book and a command file over and over, each save
# switching between an old and a new version, and is killed with SIGKILL at 50 random moments;
# after every kill each file must be the old or the new version whole, never a part or a mix.
set -u
apprun=$1
kills=${HM_KILLS:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The two versions: the book's host name and the command file's variable change size with them.
# Saving a command file makes it the entry's and writes the book too: each save does that first,
# so every book written names the command file.
save() {
  printf 'book set 0 HostName %s\nexec #vs v %s\nexec #save Cmd\\\\kill.Cmd\nbook save\n' "$1" "$1"
}
old=old new=the-new-and-much-longer-version-of-the-text
printf 'book add 머드|전사|127.0.0.1|4000\nopen 0\n' >"$work/head"
{ cat "$work/head"; save $old; } >"$work/old.in"
{ cat "$work/head"; save $old; save $new; } >"$work/new.in"
{ cat "$work/head"; save $old; for ((i = 0; i < 5000; i++)); do save $new; save $old; done; } >"$work/loop.in"

reference() {
  mkdir -p "$work/$1/Cmd"
  "$apprun" --scripted-net --folder "$work/$1" "$work/$1.in" >/dev/null 2>&1 || { echo "apprun failed on $1.in"; exit 1; }
  [ -s "$work/$1/CharBooks/CharBooks" ] && [ -s "$work/$1/Cmd/kill.Cmd" ] || { echo "the $1 run saved nothing"; exit 1; }
}
reference old
reference new
cmp -s "$work/old/CharBooks/CharBooks" "$work/new/CharBooks/CharBooks" && { echo "the versions do not differ"; exit 1; }

# Each of a few folders at once, so that 50 kills fit the time of a test: started, killed
# between 0 and 40 ms after its own first save, checked, started again. Each save renames a new
# file over the old one: its inode and change time tell a save of this run from the last run's.
status=0
stamps() { stat -c '%i:%z' "$1/CharBooks/CharBooks" "$1/Cmd/kill.Cmd" 2>/dev/null | tr ' \n' '_ '; }
# saved FOLDER BEFORE: both files differ from the ones BEFORE names.
saved() {
  local now=($(stamps "$1")) old=($2)
  [ ${#now[@]} -eq 2 ] && [ "${now[0]}" != "${old[0]:-}" ] && [ "${now[1]}" != "${old[1]:-}" ]
}
one_folder() {
  local folder=$work/run$1 i w pid before
  for ((i = 0; i < kills / 5; i++)); do
    mkdir -p "$folder/Cmd"
    before=$(stamps "$folder")
    "$apprun" --scripted-net --folder "$folder" "$work/loop.in" >/dev/null 2>&1 &
    pid=$!
    # However slow the start, the kill comes after a save of this run: 30 s is for a failure.
    for ((w = 0; w < 3000; w++)); do
      saved "$folder" "$before" && break
      kill -0 $pid 2>/dev/null || { echo "kill $i in $folder: apprun ended before it saved"; return 1; }
      sleep 0.01
    done
    [ $w -lt 3000 ] || { kill -KILL $pid; echo "kill $i in $folder: no save within 30 s"; return 1; }
    sleep "0.0$((RANDOM % 40 / 10))$((RANDOM % 10))"
    kill -KILL $pid 2>/dev/null
    wait $pid 2>/dev/null
    for file in CharBooks/CharBooks Cmd/kill.Cmd; do
      if ! cmp -s "$folder/$file" "$work/old/$file" && ! cmp -s "$folder/$file" "$work/new/$file"; then
        echo "kill $i in $folder: $file is neither version"
        od -c "$folder/$file" | tail -5
        return 1
      fi
    done
  done
}
pids=()
for f in 1 2 3 4 5; do
  one_folder $f &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
[ $status -eq 0 ] && echo "$kills kills: every file was one version whole"
exit $status
