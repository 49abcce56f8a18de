#!/usr/bin/env bash
# Options changed with their keys are stored at once and rule the next run: Auto Decimal with
# three places, no thousands separator, and the operand kept in the Entry box.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
checks=0

start_working
wait_setting 'Auto Decimal' False
wait_setting 'Decimal Places' 2
wait_setting 'Comma Separator' True
wait_setting 'Clear Entry Box' True
keys ctrl+d ctrl+F3 ctrl+l F12
wait_setting 'Auto Decimal' True
wait_setting 'Decimal Places' 3
wait_setting 'Comma Separator' False
wait_setting 'Clear Entry Box' False
checks=$((checks + 1))
keys ctrl+x                               # nothing typed: no question
stop_program

start_working
# 1234567 takes its point three places from the right and prints without a separator; the
# operand stays in the Entry box, so = applies it once more before the total.
typed '1234567+='
keys ctrl+s
answer 'the Quillbox' Return              # no caption
fill_in 'the Quillbox' "$START/options"
wait_file "$START/options.QBX" 'QBX=' 'ACC=2469.134' 'OPR=+' 'NEW=1234.567' 'JPE=0' 'SPC=0' \
  '|0 =|' '|1234.567 +|' '|1234.567 +|' '|2469.134 =|'
checks=$((checks + 1))

# The same keys with the options back as they came: no point of its own, two places.
keys ctrl+d F12 ctrl+F2 ctrl+l F3
typed '1234+'
keys ctrl+s                               # saved silently to its file
wait_file "$START/options.QBX" 'QBX=' 'ACC=1234' 'OPR=+' 'NEW=' 'JPE=0' 'SPC=0' \
  '|0 =|' '|1234.567 +|' '|1234.567 +|' '|2469.134 =|' ' ' '|0 =|' '|1,234.00 +|'
wait_setting 'Auto Decimal' False
wait_setting 'Decimal Places' 2
wait_setting 'Comma Separator' True
wait_setting 'Clear Entry Box' True
checks=$((checks + 1))
keys ctrl+x
stop_program
passed 'options survive a restart' "$checks"
