#!/usr/bin/env bash
# A German user on a German keyboard: the comma of the main row is the decimal point, so
# "1,25+2=" totals 3.25, not 127.
set -euo pipefail
QUILLBOX=$1
export QB_E2E_LOCALE=de_DE.UTF-8
. "$(dirname "$0")/lib.sh"
new_user_cleaned
setxkbmap de || { echo "setxkbmap cannot set a German layout here"; exit 77; }
checks=0

start_working
typed '1,25+2='
copy_whole_tape
printf ' %18s\r\n%18s\r\n%18s\r\n%18s\r\n' '0 =' '1.25 +' '2.00 +' '3.25 =' | wait_clipboard
checks=$((checks + 1))

quit_unsaved
passed 'German decimal comma' "$checks"
