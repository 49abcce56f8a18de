#!/usr/bin/env bash
# A tape typed and the program killed (kill -9) before any save: the next start offers it back,
# Yes brings every line back as an unsaved tape, and its save and a normal exit leave no
# recovery record behind. A close answered No leaves none either. SIGTERM keeps the record.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
STATE="$HOME/.local/state/the Quillbox"
records() { find "$STATE" -maxdepth 1 -name '*.QBR' 2>/dev/null | wc -l; }
# record_holds LINE: the record holds the tape line, in its first writing or appended ("+").
record_holds() { cat "$STATE"/*.QBR 2>/dev/null | tr -d '\r' | grep -qxE -- "\+?$1"; }
no_record() { [ "$(records)" = 0 ] || fail "$1 left a recovery record: $(ls "$STATE")"; }

start_working
typed '12.5+7.5-5='
eventually record_holds '           15.00 =' || fail "the recovery record never held the last line"
[ "$(stat -c %a "$STATE")" = 700 ] || fail "the record's folder is open to others"
[ "$(stat -c %a "$STATE"/*.QBR)" = 600 ] || fail "the record is open to others"
kill -9 "$PROGRAM"
wait "$PROGRAM" 2>/dev/null || true
PROGRAM=

start_program
answer 'Oops!' Return                     # no printer
answer 'the Quillbox' y                   # "The Quillbox ended on ... Recover it?" Yes
wait_title 'the Quillbox (recovered)'
focus_main
keys ctrl+s                               # an unsaved tape without a file: Save As
fill_in 'the Quillbox' 'Kept'             # the caption prompt
fill_in 'the Quillbox' "$START/kept"      # the file dialog
wait_title 'the Quillbox (kept.QBX)'
wait_file "$START/kept.QBX" 'QBX=Kept' 'ACC=15' 'OPR=-' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|12.50 +|' '|7.50 +|' '|5.00 -|' '|15.00 =|'
no_record "a saved tape"
keys ctrl+x
stop_program
no_record "a normal exit"

start_working
typed '3+'
eventually record_holds '            3.00 \+' || fail "the recovery record never held the line"
keys ctrl+x
answer 'the Quillbox' n                   # "Save the tape?" No
stop_program
no_record "a close answered No"

# Asked to end (SIGTERM, as a logout or a shutdown asks): the program ends by itself, with no
# question, and keeps the record for the next start.
start_working
typed '4+'
eventually record_holds '            4.00 \+' || fail "the recovery record never held the line"
kill -TERM "$PROGRAM"
stop_program
[ "$(records)" = 1 ] || fail "SIGTERM left $(records) recovery records"
start_program
answer 'Oops!' Return
answer 'the Quillbox' y                   # "Recover it?" Yes
wait_title 'the Quillbox (recovered)'
eventually record_holds '            4.00 \+' || fail "the recovered tape lacks the line"
focus_main
keys ctrl+x
answer 'the Quillbox' n                   # "Save the tape?" No
stop_program
no_record "a recovered tape dropped"
passed 'recover after kill' 1
