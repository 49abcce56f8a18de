#!/usr/bin/env bash
# A tape typed on the keyboard, saved through the caption prompt and the file dialog, compared
# byte for byte, then opened again in a new run and saved again with Ctrl+S.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
start_working
typed '12.5+7.5-5='
keys ctrl+s                               # no file yet: Save As, caption first
fill_in 'the Quillbox' 'March fuel'       # the caption prompt
fill_in 'the Quillbox' "$START/march"     # the file dialog
wait_title 'the Quillbox (march.QBX)'
wait_file "$START/march.QBX" 'QBX=March fuel' 'ACC=15' 'OPR=-' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|12.50 +|' '|7.50 +|' '|5.00 -|' '|15.00 =|'
keys ctrl+x                               # a clean tape closes without a question
stop_program

start_working
keys ctrl+o
fill_in 'the Quillbox' "$START/march.QBX"
wait_title 'the Quillbox (march)'
typed '2='
keys ctrl+s                               # the tape has its file now: saved silently
wait_file "$START/march.QBX" 'QBX=March fuel' 'ACC=13' 'OPR=-' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|12.50 +|' '|7.50 +|' '|5.00 -|' '|15.00 =|' '|2.00 -|' '|13.00 =|'
keys ctrl+x
stop_program
passed 'save and reopen' 1
