#!/usr/bin/env bash
# book_backup.sh APPRUN: the program starts on a book with a key it does not know; the load stops
# there and is reported, and when the program closes, the book it saves keeps the whole old file,
# its tail after the bad key included, in CharBooks.bak.
set -u
apprun=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir -p "$folder/CharBooks"
book=$folder/CharBooks/CharBooks
printf '#CHARACTER\nHostName    first~\nCharName    one~\nEnd\n#CHARACTER\nBadKey      1\nHostName    tail~\nEnd\n#END\n' >"$book"
cp "$book" "$folder/original"
printf 'start\nquit\n' >"$folder/input"
"$apprun" --scripted-net --folder "$folder" "$folder/input" >"$folder/out" 2>/dev/null || { echo "apprun failed"; exit 1; }
grep -q '^BOX ' "$folder/out" || { echo "the stopped load was not reported:"; cat "$folder/out"; exit 1; }
cmp "$folder/original" "$book.bak" || { echo "CharBooks.bak is not the old book"; exit 1; }
cmp -s "$folder/original" "$book" && { echo "the book was not saved again"; exit 1; }
echo "the old book is kept whole in CharBooks.bak"
