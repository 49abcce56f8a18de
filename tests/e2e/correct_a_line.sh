#!/usr/bin/env bash
# A wrongly keyed number corrected in the real window: selected with the arrow keys, Ctrl+E,
# the number typed into the Correct Line dialog; the total follows and the saved file shows
# it. Ctrl+Z then takes the correction back, and the file saved again shows the first total.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
start_working
typed '1250+7.5-5='
keys Up Up Up                             # from the total up to 1,250.00 +
keys ctrl+e
fill_in 'Correct Line' '125'              # the number is selected: typing replaces it
keys ctrl+s
fill_in 'the Quillbox' 'Invoices'
fill_in 'the Quillbox' "$START/invoices"
wait_title 'the Quillbox (invoices.QBX)'
wait_file "$START/invoices.QBX" 'QBX=Invoices' 'ACC=127.5' 'OPR=-' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|125.00 +|' '|7.50 +|' '|5.00 -|' '|127.50 =|'

keys ctrl+z
keys ctrl+s                               # the tape has its file: saved without a question
wait_file "$START/invoices.QBX" 'QBX=Invoices' 'ACC=1252.5' 'OPR=-' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|1,250.00 +|' '|7.50 +|' '|5.00 -|' '|1,252.50 =|'
keys ctrl+x
stop_program
passed 'correct a line' 1
