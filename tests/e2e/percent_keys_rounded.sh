#!/usr/bin/env bash
# Round Down chosen from the Decimal menu's Rounding submenu lasts in the settings; Add % and
# Less % on the keyboard print their amounts cut to the cent and the new subtotals. The tape
# saved, opened again after a new tape, and exported as CSV both times gives the same rows.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
start_working
keys alt+d r d                            # Decimal > Rounding > Round Down
wait_setting Rounding Down
typed '10.99+19'
keys ctrl+a                               # Add %: 2.0881 cut to 2.08
typed '7'
keys ctrl+b                               # Less %: 7 % of 13.07 is .9149, cut to .91
typed '='
keys ctrl+s
fill_in 'the Quillbox' 'Invoice 7'
fill_in 'the Quillbox' "$START/invoice"
wait_title 'the Quillbox (invoice.QBX)'
wait_file "$START/invoice.QBX" 'QBX=Invoice 7' 'ACC=12.16' 'OPR=+' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|10.99 +|' '|2.08 A|' '|13.07 S|' '|.91 L|' '|12.16 S|' '|12.16 =|'

# csv_rows FILE: the CSV file holds the tape's rows, subtotals as the keys left them.
csv_rows() {
  [ -f "$1" ] && python3 - "$1" <<'PY'
import csv, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = [r[:5] for r in csv.reader(f)]  # the columns before the line's kind
def line(text): return text.rjust(18)
expected = [['line', 'text', 'number', 'operation', 'subtotal'],
            ['1', line('0 ='), '0', '=', '0'],
            ['2', line('10.99 +'), '10.99', '+', '10.99'],
            ['3', line('2.08 A'), '2.08', 'A', '13.07'],
            ['4', line('13.07 S'), '13.07', 'S', '13.07'],
            ['5', line('.91 L'), '0.91', 'L', '12.16'],
            ['6', line('12.16 S'), '12.16', 'S', '12.16'],
            ['7', line('12.16 ='), '12.16', '=', '12.16']]
assert rows == expected, rows
PY
}
csv_keyed_and_reopened csv_rows "$START/invoice.QBX"
keys ctrl+x
stop_program
passed 'percent keys rounded' 3
