#!/usr/bin/env bash
# A tape typed on the keyboard, exported from the File menu's Export submenu as a PDF (read back
# with pdftotext) and as a CSV file (read back with Python's csv module). Neither export gives
# the tape a file: the title stays, and closing still asks to save.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
start_working
typed '12.5+7.5-5='
keys ctrl+w                               # a new caption, printed without a prompt
fill_in 'the Quillbox' 'Fuel, "March"'

keys alt+f e p                            # File > Export > PDF...
answer 'the Quillbox' Return              # the print caption prompt offers the tape's caption
fill_in 'the Quillbox' "$START/march"     # the file dialog; ".pdf" is added
pdf_text() {
  pdftotext -layout "$START/march.pdf" - 2>/dev/null | tr -d '\f' | sed 's/^ *//; s/ *$//' \
    | grep -v '^$' > "$WORK/pdf.txt"
  printf '%s\n' 'Fuel, "March"' '0 =' '12.50 +' '7.50 +' '5.00 -' '15.00 =' > "$WORK/pdf.expected"
  same_bytes "$WORK/pdf.txt" "$WORK/pdf.expected"
}
eventually pdf_text || differ "$WORK/pdf.txt" "$WORK/pdf.expected" "the PDF's text"
pdfinfo "$START/march.pdf" | grep -qx 'Title: *Fuel, "March"' || fail "the PDF's title: $(pdfinfo "$START/march.pdf")"

keys alt+f e c                            # File > Export > CSV...
fill_in 'the Quillbox' "$START/march"
csv_read_back() {
  [ -f "$START/march.csv" ] && python3 - "$START/march.csv" <<'PY'
import csv, sys
raw = open(sys.argv[1], 'rb').read()
assert raw.endswith(b'\r\n') and b'\n' not in raw.replace(b'\r\n', b''), 'CR LF line ends'
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = [r[:5] for r in csv.reader(f)]  # the columns before the line's kind
def line(text): return text.rjust(18)
expected = [['line', 'text', 'number', 'operation', 'subtotal'],
            ['1', line('0 ='), '0', '=', '0'],
            ['2', line('12.50 +'), '12.50', '+', '12.5'],
            ['3', line('7.50 +'), '7.50', '+', '20'],
            ['4', line('5.00 -'), '5.00', '-', '15'],
            ['5', line('15.00 ='), '15.00', '=', '15']]
assert rows == expected, rows
PY
}
eventually csv_read_back || fail "the CSV file: $(cat -A "$START/march.csv" 2>&1)"

title_is 'the Quillbox' || fail "the title became $(title)"
keys ctrl+x
answer 'the Quillbox' n                   # "Save the tape?": the exports did not save it
stop_program
passed 'export PDF and CSV' 2
