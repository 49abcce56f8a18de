#!/usr/bin/env bash
# A timed event set up with F9, worked on, ended with Left arrow: the tape is saved under the
# name made of the event's name, date and description, with the clock's last reading; the
# set-up window then offers the last event's values again. A second argument names the locale
# (de_DE.UTF-8: the date is typed and shown day first).
set -euo pipefail
QUILLBOX=$1
export QB_E2E_LOCALE=${2:-C.UTF-8}
typed_date='7/4/99' shown_date='7/4/1999'
if [[ $QB_E2E_LOCALE == de_DE* ]]; then typed_date='04.07.99' shown_date='04.07.1999'; fi
. "$(dirname "$0")/lib.sh"
new_user_cleaned
checks=0
name='Pat 07_04_1999 Audit'

start_working
keys F9                                   # a clean tape: no question first
setup=$(wait_box 'Timed Event')
typed 'Pat'; keys Return
typed "$typed_date"; keys Return        # the date box offers today's date, selected
typed 'Audit'
keys F9                                   # Begin
wait_gone "$setup"
focus_main
typed '5+3='
# The tape keeps the clock's last reading, taken at its tick. F11 collapses the window only
# after the keys before it, so the event has begun by the time the title says so; the wall
# clock then runs on for two seconds, and the window expanded again shows that the program
# has taken its keys (and the ticks due) since.
keys F11
wait_title 'tQB 1999'
sleep 2                                   # the time the event lasts
keys F11
wait_title 'the Quillbox'
keys Left                                 # ends the event: caption prompt, then Save As
answer 'the Quillbox' Return              # no caption
answer 'the Quillbox' Return              # the name it offers, in the start directory
focus_main
wait_title "the Quillbox ($name.QBX)"
[ -f "$START/$name.QBX" ] || { ls -la "$START"; fail "no file $name.QBX in the start directory"; }
checks=$((checks + 1))

tev=$(sed -n 7p "$START/$name.QBX")
[[ $tev =~ ^TEV=[0-9]{2}:[0-5][0-9]:[0-5][0-9]$'\r'$ && $tev != TEV=00:00:00$'\r' ]] ||
  fail "line 7 is '$tev', not the clock's reading"
wait_file "$START/$name.QBX" 'QBX=' 'ACC=8' 'OPR=+' 'NEW=' 'JPE=-1' 'SPC=0' "${tev%$'\r'}" \
  '|0 =|' '|5.00 +|' '|3.00 +|' '|8.00 =|'
checks=$((checks + 1))

# The next set-up shows the last event, its date written out in full.
keys F9
setup=$(wait_box 'Timed Event')
keys ctrl+c                               # the name box
printf 'Pat' | wait_clipboard
keys Return ctrl+c                        # the date box
printf '%s' "$shown_date" | wait_clipboard
keys Return ctrl+c                        # the event box
printf 'Audit' | wait_clipboard
keys Escape
wait_gone "$setup"
checks=$((checks + 1))

focus_main
keys ctrl+x                               # saved and no event running: no question
stop_program
passed 'timed event saved' "$checks"
