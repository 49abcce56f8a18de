#!/usr/bin/env bash
# Printing through a real print service: a CUPS server of the test's own (its own folders and
# socket, so no other program on the machine sees its printers) with two cups-pdf queues, PDF
# the server's default and PDF2. A tape of three pages is printed from the real window in 2
# copies on PDF2, chosen in the printer dialog: two jobs of one copy each, three pages each, the
# first page laid out as a printed tape is. The next printer dialog offers PDF2 again, and the
# server's default printer stays PDF. With the queues there, no no-printer warning comes up.
# It needs root (cupsd, and the cups-pdf backend, run as root); elsewhere it says why it skips.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"

# skip WHY: this machine cannot run the test. In CI that is a failure: CI runs as root, on a
# machine that tools/deps has set up.
skip() {
  [ -z "${CI:-}" ] || fail "$1; CI must run this test"
  echo "SKIP: $1"
  exit 77
}
[ "$(id -u)" = 0 ] || skip "printing through CUPS needs root to start a cupsd of its own (uid here: $(id -u))"
for cmd in cupsd lpadmin lpstat pdfinfo pdftoppm; do
  command -v "$cmd" >/dev/null || skip "$cmd is not installed (tools/deps installs it)"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is not installed (tools/deps installs it)"
PPD=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

new_user_cleaned
# The server's filters run as the user lp, and read the spool in the test's folder.
chmod 755 "$WORK"
CUPS=$WORK/cups
mkdir -p "$CUPS/etc" "$CUPS/spool/tmp" "$CUPS/cache" "$CUPS/state" "$CUPS/log"
export CUPS_SERVER=$CUPS/cups.sock
cat > "$CUPS/etc/cupsd.conf" <<EOF
Listen $CUPS_SERVER
LogLevel warn
Browsing Off
WebInterface No
DefaultAuthType None
PageLogFormat %p %j %{copies}
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat > "$CUPS/etc/cups-files.conf" <<EOF
ServerRoot $CUPS/etc
RequestRoot $CUPS/spool
TempDir $CUPS/spool/tmp
CacheDir $CUPS/cache
StateDir $CUPS/state
Printcap $CUPS/state/printcap
ErrorLog $CUPS/log/error_log
AccessLog $CUPS/log/access_log
PageLog $CUPS/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
EOF

# The queues go with the server that holds them; the PDFs of its jobs go too, whichever queue
# printed them (cups-pdf writes them outside the test's folder).
stop_print_service() {
  local job
  if [ -n "${CUPSD:-}" ] && kill -0 "$CUPSD" 2>/dev/null; then
    if [ -n "${out:-}" ] && [ -e "$WORK/before-printing" ]; then
      for job in $(lpstat -W all -o 2>/dev/null | awk '{n = $1; sub(/.*-/, "", n); print n}'); do
        find "$out" -maxdepth 1 -name "*job_$job*.pdf" -newer "$WORK/before-printing" -delete 2>/dev/null || true
      done
    fi
    lpadmin -x PDF2 2>/dev/null || true
    lpadmin -x PDF 2>/dev/null || true
    kill "$CUPSD" 2>/dev/null || true
    wait "$CUPSD" 2>/dev/null || true
  fi
}
finish() {
  local status=$?
  if [ "$status" != 0 ] && [ -s "$CUPS/log/error_log" ]; then
    echo "--- the print service's log" >&2; cat "$CUPS/log/error_log" >&2
  fi
  stop_print_service
  (exit "$status")
  clean_up
}
trap finish EXIT

cupsd -f -c "$CUPS/etc/cupsd.conf" -s "$CUPS/etc/cups-files.conf" 2>>"$CUPS/log/error_log" &
CUPSD=$!
server_up() { lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; }
eventually server_up || fail "the print service did not start"
for queue in PDF PDF2; do
  lpadmin -p "$queue" -v cups-pdf:/ -E -m "$PPD" 2>>"$CUPS/log/error_log" || fail "lpadmin could not add $queue"
done
lpadmin -d PDF
[ "$(lpstat -d)" = "system default destination: PDF" ] || fail "the server's default is not PDF: $(lpstat -d)"

# cups-pdf writes where its configuration says, for the user the job came from.
out=$(sed -n 's/^Out[[:space:]]\{1,\}//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)
out=${out:-/var/spool/cups-pdf/\$\{USER\}}
user=$(id -un)
out=${out//\$\{HOME\}/$(getent passwd "$user" | cut -d: -f6)}
out=${out//\$\{USER\}/$user}

# A tape of 150 lines: three pages at any usual paper size and line height.
lines=('|0 =|')
for i in $(seq 1 149); do lines+=("|$i.00 +|"); done
tape_file 'QBX=March fuel' 'ACC=11175' 'OPR=+' 'NEW=' 'JPE=0' 'SPC=0' "${lines[@]}" > "$START/long.QBX"

start_program
# The no-printer warning would come up at once and hold the window; the open dialog comes instead.
keys ctrl+o
dialog_or_warning() { box_shown 'the Quillbox' || box_shown 'Oops!'; }
eventually dialog_or_warning || fail "neither the open dialog nor a warning came up"
no_box 'Oops!'
fill_in 'the Quillbox' "$START/long.QBX"
wait_title 'the Quillbox (long)'

touch "$WORK/before-printing"
keys ctrl+p
answer 'the Quillbox' Return              # the caption prompt: the tape's caption
id=$(wait_box 'the Quillbox')             # the printer dialog, on the default printer
# PDF2 from the printer list; the options open on the copies, where 2 are typed; Print.
xdotool key --delay 150 Down alt+o Tab Tab Tab ctrl+a
xdotool type --delay 80 2
xdotool key alt+p
wait_gone "$id"
focus_main

# completed_jobs QUEUE: the ids of the queue's completed jobs, one a line.
completed_jobs() { lpstat -W completed -o "$1" 2>/dev/null | awk '{n = $1; sub(/.*-/, "", n); print n}'; }
jobs_are() { [ "$(completed_jobs "$1" | wc -l)" = "$2" ]; }
eventually jobs_are PDF2 2 || fail "PDF2 has $(completed_jobs PDF2 | wc -l) completed jobs, expected 2: $(lpstat -W all -o 2>&1)"
jobs_are PDF 0 || fail "the default printer printed too: $(lpstat -W all -o PDF)"
# Each job asks for one copy (no copies attribute, "-", is one): the copies are the jobs.
for job in $(completed_jobs PDF2); do
  grep -Eqx "PDF2 $job (1|-)" "$CUPS/log/page_log" || fail "job $job did not print one copy: $(cat "$CUPS/log/page_log")"
done

# pdf_of JOB: the PDF cups-pdf wrote for the job in this run.
pdf_of() { find "$out" -maxdepth 1 -name "*job_$1*.pdf" -newer "$WORK/before-printing" 2>/dev/null | head -1; }
pdf_ready() { local f; f=$(pdf_of "$1"); [ -n "$f" ] && pdfinfo "$f" >/dev/null 2>&1; }
pdfs=()
for job in $(completed_jobs PDF2); do
  eventually pdf_ready "$job" || fail "no readable PDF of job $job in $out"
  pdfs+=("$(pdf_of "$job")")
done
for pdf in "${pdfs[@]}"; do
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  [ "$pages" = 3 ] || fail "$pdf has $pages pages, expected 3"
done

# The first page, rendered in grey at 36 dpi: the ink of the caption and the tape stands in one
# narrow column from the top margin (5 % of the height) to the bottom limit (90 %), starting at
# the left margin (7 % of the width), on a white page.
pdftoppm -f 1 -l 1 -r 36 -gray -singlefile "${pdfs[0]}" "$WORK/page" 2>/dev/null
[ -z "${QB_E2E_KEEP_PAGE:-}" ] || pdftoppm -f 1 -l 1 -r 60 -png -singlefile "${pdfs[0]}" "$QB_E2E_KEEP_PAGE" 2>/dev/null
# A PGM file: three lines of header ("P5", width and height, 255), then a byte a pixel.
read -r width height <<<"$(sed -n 2p "$WORK/page.pgm")"
header=$(head -n 3 "$WORK/page.pgm" | wc -c)
look=$(tail -c +$((header + 1)) "$WORK/page.pgm" | od -An -v -tu1 -w"$width" | awk -v w="$width" -v h="$height" '
  { for (x = 1; x <= NF; x++) if ($x < 128) {
      ink++; y = NR - 1
      if (minx == "" || x < minx) minx = x; if (x > maxx) maxx = x
      if (miny == "") miny = y; maxy = y
  } }
  END {
    if (!ink) { print "blank"; exit }
    printf "%.3f %.3f %.3f %.3f %.4f\n", (minx - 1) / w, miny / h, (maxx - minx) / w, maxy / h, ink / (w * h)
  }')
echo "first page (left, top, width, bottom, ink): $look"
read -r left top width bottom ink <<<"$look" || true
[ "$look" != blank ] || fail "the first page is blank"
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }
within "$left" 0.05 0.10 || fail "the text starts at $left of the width, not at the 7 % margin ($look)"
within "$top" 0.04 0.08 || fail "the text starts at $top of the height, not at the 5 % margin ($look)"
within "$width" 0.08 0.30 || fail "the text is $width of the width wide, not one tape column ($look)"
within "$bottom" 0.80 0.93 || fail "the text ends at $bottom of the height, not at the 90 % limit ($look)"
within "$ink" 0.001 0.08 || fail "the page is $ink ink, not a printed tape on white ($look)"

# The next printer dialog offers PDF2 again; the server's default printer stays PDF.
keys ctrl+p
answer 'the Quillbox' Return
id=$(wait_box 'the Quillbox')
xdotool key alt+p
wait_gone "$id"
eventually jobs_are PDF2 3 || fail "the second print did not go to PDF2: $(lpstat -W all -o 2>&1)"
jobs_are PDF 0 || fail "the second print went to the default printer"
for job in $(completed_jobs PDF2); do
  eventually pdf_ready "$job" || fail "no readable PDF of job $job in $out"
done
[ "$(lpstat -d)" = "system default destination: PDF" ] || fail "the default printer changed: $(lpstat -d)"

focus_main
keys ctrl+x
stop_program
passed "print through cups" 1
