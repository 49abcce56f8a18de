#!/usr/bin/env bash
# An invoice taxed in the real window: Tax+ with no rate set opens the Tax Rates dialog first,
# the rates typed there last in the settings, Tax+ on the invoice's total and Tax- on a gross
# amount print their marked lines (the rate named on the section's first tax line). The tape
# saved, opened again after a new tape, and exported as CSV both times gives the same rows.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
start_working
typed '120+80='
keys ctrl+r                               # Tax+ on the total: no rate yet, so the rates first
id=$(wait_box 'Tax Rates')
typed '19'
keys Tab
typed '7'
keys Return
wait_gone "$id"
focus_main
wait_setting 'Tax Rate 1' 19
wait_setting 'Tax Rate 2' 7
typed '119'
keys ctrl+u                               # Tax- at the same rate: not named again
typed '='
keys ctrl+s
fill_in 'the Quillbox' 'Invoice 26'
fill_in 'the Quillbox' "$START/invoice"
wait_title 'the Quillbox (invoice.QBX)'
wait_file "$START/invoice.QBX" 'QBX=Invoice 26' 'ACC=100' 'OPR=+' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|120.00 +|' '|80.00 +|' '|200.00 =|' '|200.00 N|' '|19%        38.00 T|' '|238.00 G|' \
  '|119.00 G|' '|19.00 T|' '|100.00 N|' '|100.00 =|'

# csv_rows FILE: the CSV file holds the tape's rows, each line with the subtotal its key left and its kind.
csv_rows() {
  [ -f "$1" ] && python3 - "$1" <<'PY'
import csv, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f))
def line(text): return text.rjust(18)
expected = [['line', 'text', 'number', 'operation', 'subtotal', 'kind'],
            ['1', line('0 ='), '0', '=', '0', 'clear'],
            ['2', line('120.00 +'), '120.00', '+', '120', 'number'],
            ['3', line('80.00 +'), '80.00', '+', '200', 'number'],
            ['4', line('200.00 ='), '200.00', '=', '200', 'total'],
            ['5', line('200.00 N'), '200.00', 'N', '238', 'adjusted'],
            ['6', '19%        38.00 T', '38.00', 'T', '238', 'adjusted'],
            ['7', line('238.00 G'), '238.00', 'G', '238', 'adjusted'],
            ['8', line('119.00 G'), '119.00', 'G', '100', 'adjusted'],
            ['9', line('19.00 T'), '19.00', 'T', '100', 'adjusted'],
            ['10', line('100.00 N'), '100.00', 'N', '100', 'adjusted'],
            ['11', line('100.00 ='), '100.00', '=', '100', 'total']]
assert rows == expected, rows
PY
}
csv_keyed_and_reopened csv_rows "$START/invoice.QBX"
keys ctrl+x
stop_program
passed 'tax invoice' 3
