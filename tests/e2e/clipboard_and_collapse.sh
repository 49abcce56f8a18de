#!/usr/bin/env bash
# The whole tape goes to the clipboard as the tape shows it; a number put on the clipboard by
# another program comes into the Entry box and goes back out as the last value.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
checks=0

start_working
typed '12.5+7.5-5='

# Entire tape: a space, then every line right-aligned in 18 characters with CR LF after it.
keys ctrl+c
answer Copy Down Down Return              # "Selected value" is off without a selection
printf ' %18s\r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n' '0 =' '12.50 +' '7.50 +' '5.00 -' '15.00 =' | wait_clipboard
checks=$((checks + 1))

# Another program offers 1,234.50; Paste keeps the number and drops the separator.
keys F3
printf '1,234.50' | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
HELPERS="${HELPERS:-} $!"
printf '1,234.50' | wait_clipboard
focus_main
keys ctrl+v
keys ctrl+s
answer 'the Quillbox' Return              # the caption prompt, left empty
fill_in 'the Quillbox' "$START/clip"      # then the file dialog
wait_title 'the Quillbox (clip.QBX)'
wait_file "$START/clip.QBX" 'QBX=' 'ACC=0' 'OPR=+' 'NEW=1234.5' 'JPE=0' 'SPC=0' \
  '|0 =|' '|12.50 +|' '|7.50 +|' '|5.00 -|' '|15.00 =|' ' ' '|0 =|'
checks=$((checks + 1))

# The pasted number goes on the tape and comes back as the last value, with a confirmation.
typed '+'
keys ctrl+c
answer Copy Return                        # "Last value on the tape" is preselected
answer 'tQB 1999' Return                  # "1234.50 copied to the Clipboard"
printf '1234.50' | wait_clipboard
checks=$((checks + 1))

quit_unsaved
passed 'clipboard and collapse' "$checks"
