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
typed 'March fuel'; keys Return
typed "$START/march"; keys Return
sleep 0.5
[ "$(title)" = 'the Quillbox (march.QBX)' ] || fail "title after save: $(title)"
expected=$(printf 'QBX=March fuel\r\nACC=15\r\nOPR=-\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n' \
  '0 =' '12.50 +' '7.50 +' '5.00 -' '15.00 =' | od -c)
[ "$(od -c < "$START/march.QBX")" = "$expected" ] || { od -c "$START/march.QBX"; fail "saved bytes differ"; }
keys ctrl+x                               # a clean tape closes without a question
stop_program

start_working
keys ctrl+o
typed "$START/march.QBX"; keys Return
sleep 0.5
[ "$(title)" = 'the Quillbox (march)' ] || fail "title after open: $(title)"
typed '2='
keys ctrl+s                               # the tape has its file now: saved silently
sleep 0.5
expected=$(printf 'QBX=March fuel\r\nACC=13\r\nOPR=-\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n' \
  '0 =' '12.50 +' '7.50 +' '5.00 -' '15.00 =' '2.00 -' '13.00 =' | od -c)
[ "$(od -c < "$START/march.QBX")" = "$expected" ] || { od -c "$START/march.QBX"; fail "continued tape not saved"; }
keys ctrl+x
stop_program
echo "save and reopen: 1 passed, 0 failed"
