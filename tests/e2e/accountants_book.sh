#!/usr/bin/env bash
# An accountant's small book in the real window: Grand Total chosen in the Options menu, an
# invoice number with "#", a note by Ctrl+K, a line corrected (Ctrl+E), one deleted (Ctrl+Del),
# one inserted (Ctrl+I) and the grand total printed (Ctrl+Shift+G); saved, opened again after a new
# tape, and exported as CSV, whose last column names each line's kind.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
start_working
keys alt+p g                              # Options > Grand Total
wait_setting 'Grand Total' True
typed '1250+4711#'
keys ctrl+k
fill_in 'Note' 'Fuel for March'
typed '75+5='
keys Up Up ctrl+e                         # the line 75.00 +
id=$(wait_box 'Correct Line')
xdotool key ctrl+a
xdotool type --delay 50 '7.5'
xdotool key Return
wait_gone "$id"
focus_main
keys Down ctrl+Delete                     # the line 5.00 +
keys ctrl+Home Down ctrl+i                    # after the line 1,250.00 +
fill_in 'Insert Line' '20'
keys ctrl+shift+g
keys ctrl+s
fill_in 'the Quillbox' 'Book'
fill_in 'the Quillbox' "$START/book"
wait_title 'the Quillbox (book.QBX)'
book=('|0 =|' '|1,250.00 +|' '|20.00 +|' '|4711 #|' 'Fuel for March   "' '|7.50 +|' '|1,277.50 =|' '|1,277.50 g|')
wait_file "$START/book.QBX" 'QBX=Book' 'ACC=1277.5' 'OPR=+' 'NEW=' 'JPE=-1' 'SPC=0' "${book[@]}"

keys F4                                   # New Tape: saved, so no question
wait_title 'the Quillbox'
keys ctrl+o
fill_in 'the Quillbox' "$START/book.QBX"
wait_title 'the Quillbox (book)'
keys alt+f e c
fill_in 'the Quillbox' "$START/book"
csv_kinds() {
  [ -f "$START/book.csv" ] && python3 - "$START/book.csv" <<'PY'
import csv, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f))
assert rows[0] == ['line', 'text', 'number', 'operation', 'subtotal', 'kind'], rows[0]
kinds = [r[5] for r in rows[1:]]
assert kinds == ['clear', 'number', 'number', 'reference', 'note', 'number', 'total', 'grand total'], kinds
assert [r[2] for r in rows[1:]][:3] == ['0', '1250.00', '20.00'], rows
PY
}
eventually csv_kinds || fail "the CSV: $(cat -A "$START/book.csv" 2>&1)"
keys ctrl+x
stop_program
passed 'accountants book' 2
