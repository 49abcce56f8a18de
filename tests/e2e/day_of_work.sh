#!/usr/bin/env bash
# A day's work: a tape with memory taken from the last and from a selected line, a caption,
# saved through the caption prompt and the file dialog; closed; the next run has the memory
# back, opens the tape, goes on with the memory and saves it silently.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
checks=0

start_working
typed '100+25.5+'
keys F5                                   # memory + the last line: 25.5
typed '4*'
keys Up Up                                # the line 100.00 +
keys F5                                   # memory + the selected line: 125.5
typed '2='                                # the digit ends the selection
wait_setting Memory '"           125.5"'
checks=$((checks + 1))

keys ctrl+w
fill_in 'the Quillbox' 'Day one'          # the caption prompt
wait_setting 'Last Caption' 'Day one'
keys ctrl+s                               # no file yet: the caption prompt, then Save As
answer 'the Quillbox' Return              # the caption offered is the tape's
fill_in 'the Quillbox' "$START/day"       # the file dialog
wait_title 'the Quillbox (day.QBX)'
wait_file "$START/day.QBX" 'QBX=Day one' 'ACC=259' 'OPR=x' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|100.00 +|' '|25.50 +|' '|4.00 +|' '|2.00 *|' '|259.00 =|'
checks=$((checks + 1))

keys ctrl+x                               # saved: no question
stop_program

start_working
keys ctrl+o
fill_in 'the Quillbox' "$START/day.QBX"
wait_title 'the Quillbox (day)'
keys ctrl+m                               # the memory of the last run, as "+ 125.5"
typed '='
keys F6                                   # memory - the total: 125.5 - 384.5
wait_setting Memory '"           -259."'
keys ctrl+s                               # the tape has its file: saved as it stands
wait_file "$START/day.QBX" 'QBX=Day one' 'ACC=384.5' 'OPR=+' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|100.00 +|' '|25.50 +|' '|4.00 +|' '|2.00 *|' '|259.00 =|' '|125.50 +|' '|384.50 =|'
checks=$((checks + 1))

keys ctrl+x
stop_program
wait_setting Memory '"           -259."'
checks=$((checks + 1))
passed 'day of work' "$checks"
