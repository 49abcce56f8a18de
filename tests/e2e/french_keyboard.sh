#!/usr/bin/env bash
# On a French (AZERTY) keyboard the digits of the main row need Shift: "12.5+7.5=" typed there
# prints its three lines, and the unshifted digit keys still type their digits.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
setxkbmap fr || { echo "setxkbmap cannot set a French layout here"; exit 77; }
checks=0

start_working
typed '12.5+7.5='
copy_whole_tape
printf ' %18s\r\n%18s\r\n%18s\r\n%18s\r\n' '0 =' '12.50 +' '7.50 +' '20.00 =' | wait_clipboard
checks=$((checks + 1))

# Without Shift: "&" and "é" are the 1 and 2 keys, "-" subtracts.
focus_main
keys F3 ampersand eacute minus eacute Return
copy_whole_tape
printf ' %18s\r\n%18s\r\n%18s\r\n%18s\r\n \r\n%18s\r\n%18s\r\n%18s\r\n%18s\r\n' '0 =' '12.50 +' '7.50 +' '20.00 =' \
  '0 =' '12.00 +' '2.00 -' '10.00 =' | wait_clipboard
checks=$((checks + 1))

quit_unsaved
passed 'French keyboard' "$checks"
