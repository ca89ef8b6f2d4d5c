#!/usr/bin/env bash
# print_queue.sh GRIDRUN: prints grids through real CUPS queues. A private cupsd (its own
# configuration, spool and socket in a temporary folder) gets two queues on the cups-pdf backend,
# one of them the default; gridrun prints to the first with "printer queue" and to the default
# with no printer named. Each PDF the backend writes into its output folder must appear within
# 60 s and hold the pages gridrun counted (pdfinfo); the document the queue was given (kept in
# the spool) must hold the cells and page numbers gridrun laid out (pdftotext: the backend's own
# PDF, made through PostScript, keeps no text). The cupsd is stopped by its process id.
#
# A missing component fails. The backend and the spool need root, so a run as another user is
# skipped (77); as root (CI), a cupsd that does not start fails.
set -uo pipefail

gridrun=$1
for tool in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/lib/cups/backend/cups-pdf /usr/bin/pdfinfo /usr/bin/pdftotext; do
  [ -x "$tool" ] || [ -e "$tool" ] || { echo "print_queue: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -r "$ppd" ] || { echo "print_queue: $ppd is missing (scripts/setup.sh installs it)" >&2; exit 1; }
[ -x "$gridrun" ] || { echo "print_queue: no gridrun at $gridrun" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "print_queue: skipped: the cups-pdf backend needs root" >&2; exit 77; }

# The queue's filters run as another user and must reach the folder, and the socket's path must fit
# in a socket address: the run's TMPDIR where it allows both, else /tmp.
base=${TMPDIR:-/tmp}
if [ ${#base} -gt 60 ] || ! setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$base" 2>/dev/null; then
  base=/tmp
fi
dir=$(mktemp -d "$base/hanmud-cups-XXXXXX")
pid=
made=()
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [ ${#made[@]} -gt 0 ] && rm -f "${made[@]}"
  rm -rf "$dir"
}
trap cleanup EXIT
fail() {
  echo "print_queue: $*" >&2
  tail -20 "$dir/log/error_log" >&2 2>/dev/null
  exit 1
}

chmod 755 "$dir"
mkdir -p "$dir"/{root,spool,tmp,cache,state,log,home}
chmod 1777 "$dir"/{tmp,cache,state,log}
cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel info
PreserveJobFiles Yes
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir/root
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
CONF

/usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
pid=$!
for _ in $(seq 100); do [ -S "$dir/cups.sock" ] && break; sleep 0.1; done
if [ ! -S "$dir/cups.sock" ] || ! kill -0 "$pid" 2>/dev/null; then
  cat "$dir/log/cupsd.out" >&2 2>/dev/null
  fail "the private cupsd did not start"
fi
# The client side sees only the private cupsd: no user's or system's default printer.
export CUPS_SERVER=$dir/cups.sock CUPS_SERVERROOT=$dir/root HOME=$dir/home
unset LPDEST PRINTER
named=hanmud-named-$$
default=hanmud-default-$$
lpadmin -p "$named" -E -v cups-pdf:/ -P "$ppd" 2>"$dir/log/lpadmin" || fail "lpadmin failed: $(cat "$dir/log/lpadmin")"
lpadmin -p "$default" -E -v cups-pdf:/ -P "$ppd" 2>"$dir/log/lpadmin" || fail "lpadmin failed: $(cat "$dir/log/lpadmin")"
lpadmin -d "$default" 2>"$dir/log/lpadmin" || fail "lpadmin -d failed: $(cat "$dir/log/lpadmin")"

# The backend writes where cups-pdf.conf says (its default, or ${HOME}/PDF of the job's user),
# the file named after the job's title.
out=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)
fallback='/var/spool/cups-pdf/${USER}'
out=${out:-$fallback}
user=$(id -un)
userHome=$(getent passwd "$user" | cut -d: -f6)
homeKey='${HOME}' userKey='${USER}'
out=${out//"$homeKey"/$userHome}
out=${out//"$userKey"/$user}

# print TITLE QUEUE PRINTER-DIRECTIVE: gridrun prints 400 rows of three cells (several pages,
# so a count that strays from the printout shows) with the page number and the page count at the
# bottom; the PDF must come back with what it laid out.
print() {
  local title=$1 queue=$2 printer=$3 log="$dir/$1.out"
  "$gridrun" >"$log" 2>&1 <<DIRECTIVES
set ColCount 3
set RowCount 400
block 0 0 Name\tValue\tNote\nqueue\t1\tprinted through CUPS
cell 0 399 lastrow
set PrintSettings.JobName $title
set PrintSettings.PageNr ppBottomCenter
set PrintSettings.PagePrefix Page
$printer
call Print
? pages
DIRECTIVES
  local status=$?
  cat "$log"
  [ $status -eq 0 ] || fail "$title: gridrun ended with status $status"
  ! grep -q '^error' "$log" || fail "$title: gridrun reported an error"
  local pages
  pages=$(sed -n 's/^pages = //p' "$log")
  [ -n "$pages" ] && [ "$pages" -ge 3 ] || fail "$title: gridrun counted '$pages' pages, not 3 or more"

  local pdf=
  for _ in $(seq 600); do
    pdf=$(ls -t "$out"/*"$title"*.pdf 2>/dev/null | head -1)
    [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && break
    pdf=
    sleep 0.1
  done
  [ -n "$pdf" ] || fail "$title: no PDF in $out within 60 s"
  made+=("$pdf")
  local got
  got=$(pdfinfo "$pdf" | sed -n 's/^Pages:[[:space:]]*//p')
  echo "print_queue: $title: $pdf has $got pages"
  [ "$got" = "$pages" ] || fail "$title: the queue printed $got pages, gridrun counted $pages"
  # The queue got it, and the document it got is what gridrun laid out.
  grep -qF "Queued on \"$queue\"" "$dir/log/error_log" || fail "$title: no job queued on $queue"
  local sent
  sent=$(ls -t "$dir"/spool/d*-001 2>/dev/null | head -1)
  [ -n "$sent" ] || fail "$title: the spool kept no document"
  local first last
  first=$(pdftotext -f 1 -l 1 -layout "$sent" - 2>&1)
  last=$(pdftotext -f "$pages" -l "$pages" -layout "$sent" - 2>&1)
  for want in "printed through CUPS" "Page 1/$pages"; do
    grep -qF "$want" <<<"$first" || fail "$title: page 1 lacks \"$want\": $first"
  done
  for want in "lastrow" "Page $pages/$pages"; do
    grep -qF "$want" <<<"$last" || fail "$title: page $pages lacks \"$want\": $last"
  done
  rm -f "$sent"
}

print "hanmudnamed$$" "$named" "printer queue $named"
print "hanmuddefault$$" "$default" ""
