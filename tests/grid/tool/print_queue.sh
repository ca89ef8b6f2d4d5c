#!/usr/bin/env bash
# print_queue.sh GRIDRUN: prints a grid through a real CUPS queue. A private cupsd (its own
# configuration, spool and socket in a temporary folder) gets a queue on the cups-pdf backend;
# gridrun prints to it with "printer queue"; the PDF the backend writes into its output folder
# must appear within 60 s and read back with pdfinfo. The cupsd is stopped by its process id.
# Skips (77) unless run as root, since the backend and the spool need root.
set -uo pipefail

gridrun=$1
[ "$(id -u)" -eq 0 ] || { echo "print_queue: skipped: needs root" >&2; exit 77; }
for tool in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/lib/cups/backend/cups-pdf pdfinfo; do
  command -v "$tool" >/dev/null || { echo "print_queue: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -r "$ppd" ] || { echo "print_queue: $ppd is missing" >&2; exit 1; }

dir=$(mktemp -d /tmp/hanmud-cups-XXXXXX)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [ -n "${made:-}" ] && rm -f "$made"
  rm -rf "$dir"
}
trap cleanup EXIT

chmod 755 "$dir"
mkdir -p "$dir"/{root,spool,tmp,cache,state,log}
chmod 1777 "$dir"/{tmp,cache,state,log}
cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel info
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
for _ in $(seq 50); do [ -S "$dir/cups.sock" ] && break; sleep 0.1; done
if [ ! -S "$dir/cups.sock" ] || ! kill -0 "$pid" 2>/dev/null; then
  echo "print_queue: skipped: the private cupsd did not start" >&2
  cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null
  exit 77
fi
export CUPS_SERVER=$dir/cups.sock
queue=hanmud-test-$$
lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" 2>/dev/null || { echo "print_queue: lpadmin failed" >&2; exit 1; }

# The backend writes where cups-pdf.conf says (its default, or ${HOME}/PDF), the file named
# after the job's title.
out=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)
default='/var/spool/cups-pdf/${USER}'
out=${out:-$default}
user=$(id -un)
home=$(getent passwd "$user" | cut -d: -f6)
homeKey='${HOME}' userKey='${USER}'
out=${out//"$homeKey"/$home}
out=${out//"$userKey"/$user}
title=hanmudqueue$$

"$gridrun" <<DIRECTIVES >"$dir/gridrun.out" 2>&1
set ColCount 3
set RowCount 120
block 0 0 Name\tValue\tNote\nqueue\t1\tprinted through CUPS
set PrintSettings.JobName $title
set PrintSettings.PageNr ppBottomCenter
printer queue $queue
call Print
? pages
DIRECTIVES
cat "$dir/gridrun.out"
pages=$(sed -n 's/^pages = //p' "$dir/gridrun.out")
[ -n "$pages" ] && [ "$pages" -ge 1 ] || { echo "print_queue: gridrun printed no pages" >&2; exit 1; }
grep -q '^error' "$dir/gridrun.out" && exit 1

for _ in $(seq 600); do
  made=$(ls -t "$out"/*"$title"*.pdf 2>/dev/null | head -1)
  [ -n "$made" ] && pdfinfo "$made" >/dev/null 2>&1 && break
  made=
  sleep 0.1
done
if [ -z "$made" ]; then
  echo "print_queue: no PDF in $out within 60 s" >&2
  tail -20 "$dir/log/error_log" >&2
  exit 1
fi
got=$(pdfinfo "$made" | sed -n 's/^Pages:[[:space:]]*//p')
echo "print_queue: $made has $got pages"
[ "$got" = "$pages" ] || { echo "print_queue: gridrun counted $pages pages" >&2; exit 1; }
