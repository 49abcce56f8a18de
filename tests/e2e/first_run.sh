#!/usr/bin/env bash
# A first run with no settings at all: the welcome message comes up after the printer warning,
# and every option is written with its default; the second run finds them and says no welcome.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned first-run
checks=0

[ ! -e "$(settings_file)" ] || fail "a settings file before the first run"
start_program
answer 'Oops!' Return                     # no printer on this machine
answer 'the Quillbox' Return              # the welcome message
checks=$((checks + 1))

wait_setting 'Auto Decimal' False
wait_setting 'Clear On Equal' False
wait_setting 'Decimal Places' 2
for key in 'Tape Caption' 'File Caption' 'Show Copy' 'Round Before Operation' 'Comma Separator' \
  'Tooltips' 'Machine Sounds' 'Clear Entry Box'; do
  wait_setting "$key" True
done
# Nothing else is kept yet: no caption, no memory, no window place.
[ "$(grep -c '=' "$(settings_file)")" = 11 ] || { cat "$(settings_file)"; fail "more than the eleven options stored"; }
checks=$((checks + 1))

focus_main
keys ctrl+x                               # nothing typed: closes without a question
stop_program
wait_setting 'Last Mode' False
checks=$((checks + 1))

start_program
answer 'Oops!' Return
sleep 1.5                                 # the welcome message would be up by now
no_box 'the Quillbox'
[ "$(xdotool search --onlyvisible --name '.' | grep -cvx "$WINDOW")" = 0 ] || fail "a window besides the main one"
wait_setting 'Auto Decimal' False
checks=$((checks + 1))
focus_main
keys ctrl+x
stop_program
passed 'first run' "$checks"
