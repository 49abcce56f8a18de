#!/usr/bin/env bash
# Closing the window during a timed event saves the tape under the event's name; when that save
# fails (here: no folder the user may write in), the message shows and the close is cancelled,
# leaving the window, the tape and the event as they were. Saved elsewhere, the window closes.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
new_user_cleaned
as_plain_user "$1"
checks=0
mkdir "$WORK/elsewhere"
[ "$(id -u)" = 0 ] && chown 65534:65534 "$WORK/elsewhere"
# The start directory and the home folder are read-only (the settings stay writable), and
# there is no Documents folder: the event's save has nowhere to go.
chmod 555 "$START" "$HOME"

start_working
answer 'the Quillbox' Return              # no folder of its own for recovery records: said once
focus_main
keys F9
setup=$(wait_box 'Timed Event')
typed 'Pat'; keys Return
typed '7/4/99'; keys Return
typed 'Audit'
keys F9                                   # Begin
wait_gone "$setup"
focus_main
typed '5+3='
keys ctrl+x                               # close: the event's save, caption prompt first
answer 'the Quillbox' Return              # no caption
answer 'the Quillbox' Return              # the offered name, in the read-only start directory
answer 'Oops!' Return                     # "An error occurred while saving the tape file!"
focus_main
# Still there and taking keys: F11 collapses the window and brings it back.
program_running || fail "the window closed although the tape was not saved"
keys F11
wait_title 'tQB 1999'
keys F11
wait_title 'the Quillbox'                 # and no file name in it
[ -z "$(ls -A "$START")" ] || fail "something was written in the start directory: $(ls -A "$START")"
grep -q 'cannot write' "$WORK/program.log" || fail "the reason for the failed save is not on the output"
checks=$((checks + 1))

# The event still runs: the next close saves it again, this time where the user may write.
keys ctrl+x
answer 'the Quillbox' Return
wait_box 'the Quillbox' >/dev/null        # the file dialog; once it is done the window closes
typed "$WORK/elsewhere/audit"
keys Return
stop_program
tev=$(sed -n 7p "$WORK/elsewhere/audit.QBX" | tr -d '\r')
[[ $tev =~ ^TEV=[0-9]{2}:[0-5][0-9]:[0-5][0-9]$ ]] || fail "line 7 is '$tev', not the event's clock"
wait_file "$WORK/elsewhere/audit.QBX" 'QBX=' 'ACC=8' 'OPR=+' 'NEW=' 'JPE=-1' 'SPC=0' "$tev" \
  '|0 =|' '|5.00 +|' '|3.00 +|' '|8.00 =|'
checks=$((checks + 1))
passed 'event save fails' "$checks"
