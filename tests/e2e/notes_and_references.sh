#!/usr/bin/env bash
# A small book in the real window: an invoice number with "#", a note by Ctrl+K, a find with
# Ctrl+G (the number typed as the tape does not show it), then saved; the file holds the lines
# as the tape shows them, and the reference changed neither the total nor the pending operation.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
start_working
typed '1250+4711#'
keys ctrl+k
fill_in 'Note' 'Fuel for March'
typed '7.5='
keys ctrl+g
fill_in 'Find' '1250.0'
keys ctrl+s
fill_in 'the Quillbox' 'Book'
fill_in 'the Quillbox' "$START/book"
wait_title 'the Quillbox (book.QBX)'
wait_file "$START/book.QBX" 'QBX=Book' 'ACC=1257.5' 'OPR=+' 'NEW=' 'JPE=-1' 'SPC=0' \
  '|0 =|' '|1,250.00 +|' '|4711 #|' 'Fuel for March   "' '|7.50 +|' '|1,257.50 =|'
keys ctrl+x
stop_program
passed 'notes and references' 1
