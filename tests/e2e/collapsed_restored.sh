#!/usr/bin/env bash
# The collapsed window, moved and closed, comes back collapsed where it was left; expanded it
# is centred again, and collapsing once more puts the small window back at its own place.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
checks=0

# near X Y: the main window's top-left corner is within 3 pixels of X, Y.
near() {
  local x y w h
  read -r x y w h <<<"$(geometry)"
  [ $((x - $1)) -ge -3 ] && [ $((x - $1)) -le 3 ] && [ $((y - $2)) -ge -3 ] && [ $((y - $2)) -le 3 ]
}
wait_near() { eventually near "$1" "$2" || fail "the window is at $(geometry), not at $1,$2"; }

start_working
read -r ex ey ew eh <<<"$(geometry)"
keys F11
wait_title 'tQB 1999'
wait_collapsed "$ex" "$ey" "$ew" "$eh"
read -r _ _ cw ch <<<"$(geometry)"
# The move reaches the program before the keys that follow it.
xdotool windowmove --sync "$WINDOW" 100 200
wait_near 100 200
focus_main
keys ctrl+x
stop_program
wait_setting 'Last Mode' True
wait_setting 'Last Left' 1500             # twips, 15 to the pixel
wait_setting 'Last Top' 3000
checks=$((checks + 1))

start_program
answer 'Oops!' Return
wait_title 'tQB 1999'
wait_geometry "100 200 $cw $ch"
checks=$((checks + 1))

focus_main
keys Escape
wait_title 'the Quillbox'
wait_geometry "$ex $ey $ew $eh"
keys F11
wait_title 'tQB 1999'
wait_near 100 200
checks=$((checks + 1))

keys F11
wait_title 'the Quillbox'
keys ctrl+x
stop_program
wait_setting 'Last Mode' False
wait_setting 'Last Left' $((ex * 15))
wait_setting 'Last Top' $((ey * 15))
checks=$((checks + 1))
passed 'collapsed window restored' "$checks"
