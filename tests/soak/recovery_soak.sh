#!/usr/bin/env bash
# A long day at the calculator, as a careless user and an unkind machine would make it: random
# keys, clicks on the keypad and the tape, menu commands and random answers to every box, and the
# program killed at random moments (SIGKILL, or SIGTERM as a logout sends it). After each kill it
# starts again, recovery answered Yes, and the tape it brings back must be the tape the window
# showed last (as Copy > Entire tape gave it just before the kill). When nothing is offered, the
# tape shown must have been a new one or the one saved in its file: nothing unsaved is ever lost.
#   recovery_soak.sh QUILLBOX    SOAK_MINUTES (2) long; SOAK_SEED repeats a run's choices
# Prints what it did and every loss it found; fails when it found one.
set -euo pipefail
QUILLBOX=$(readlink -f "$1")
. "$(dirname "$0")/../e2e/lib.sh"
new_user_cleaned
MINUTES=${SOAK_MINUTES:-2}
SEED=${SOAK_SEED:-$$}
RANDOM=$SEED
STATE="$HOME/.local/state/the Quillbox"
TAPE="$START/soak.QBX"
echo "soak: $MINUTES minutes, seed $SEED"

pick() { shift $((RANDOM % $#)); echo "$1"; }
chance() { [ $((RANDOM % 100)) -lt "$1" ]; }

# Places on the window, from its top-left corner: the keypad, the memory and decimal places
# buttons, and the tape (where a click selects a line).
KEYPAD=(35,153 79,153 125,153 35,195 79,195 125,195 35,237 79,237 125,237 35,279 79,279 125,279
        188,165 228,165 268,165 188,247 228,230 268,213 268,247 228,281 268,281 72,97 502,101
        274,333 306,333 32,333 72,333 420,333 442,333 464,333 486,333 508,333 530,333)
click_at() { xdotool mousemove --window "$WINDOW" "${1%,*}" "${1#*,}" click 1; }

# boxes: the ids of the shown windows other than the main one.
boxes() { xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx "$WINDOW" || true; }
size_of() { xdotool getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Geometry: //p'; }

# answer_boxes: answers whatever boxes the last action brought up, at random as a user might,
# until none is left. The file dialog mostly gets the soak's tape file, the caption prompt its
# text as it stands; a question gets Yes, No or Escape.
answer_boxes() {
  local id name size rounds=0 quiet=0
  while [ "$quiet" -lt 1 ] && [ "$rounds" -lt 40 ]; do
    rounds=$((rounds + 1))
    id=$(boxes | head -1)
    if [ -z "$id" ]; then quiet=$((quiet + 1)); continue; fi
    quiet=0
    name=$(xdotool getwindowname "$id" 2>/dev/null || true)
    size=$(size_of "$id")
    xdotool windowfocus --sync "$id" 2>/dev/null || continue
    case "$name:$size" in
      "the Quillbox:"*x4[0-9][0-9] | "the Quillbox:"*x3[0-9][0-9])  # the file dialog
        if chance 85; then xdotool key ctrl+a; xdotool type --delay 10 "$TAPE"; xdotool key Return
        else xdotool key Escape; fi ;;
      "the Quillbox:444x110") xdotool key Return ;;                 # the caption prompt
      "the Quillbox:"*) xdotool key "$(pick y y y n Escape)" ;;     # a question
      "Oops!:"* | "tQB 1999:"*) xdotool key Return ;;
      *) xdotool key Escape ;;
    esac
    sleep 0.1
  done
  if program_running; then focus_main; fi
}

ACTIONS=0
# act: one random thing a user does. A click may close the program (its Close button, and an
# answer to "Save the tape?"): it is then started again. What xdotool could not do is let be.
act() {
  ACTIONS=$((ACTIONS + 1))
  one_thing || true
  if ! program_running; then
    wait "$PROGRAM" 2>/dev/null || true
    start_working
  fi
}
one_thing() {
  local r=$((RANDOM % 100))
  if [ "$r" -lt 45 ]; then                                  # a number and an operation, typed
    xdotool type --delay 15 "$((RANDOM % 1000))$(pick '' '' .5 .25)$(pick + + + - - '*' / = = % $'\n')"
  elif [ "$r" -lt 60 ]; then click_at "$(pick "${KEYPAD[@]}")"
  elif [ "$r" -lt 64 ]; then click_at "$((310 + RANDOM % 130)),$((80 + RANDOM % 210))"   # the tape
  elif [ "$r" -lt 70 ]; then xdotool key "$(pick BackSpace Delete Escape F3 ctrl+F2 ctrl+F4 ctrl+f)"
  elif [ "$r" -lt 78 ]; then xdotool key "$(pick ctrl+z ctrl+z ctrl+y)"               # undo, redo
  elif [ "$r" -lt 83 ]; then xdotool key --delay 80 alt+t "$(pick u d s)"             # Tape menu
  elif [ "$r" -lt 88 ]; then xdotool key "$(pick F5 F6 F7 F8 ctrl+m ctrl+n)"          # memory
  elif [ "$r" -lt 93 ]; then xdotool key ctrl+s                                       # Save
  elif [ "$r" -lt 96 ]; then xdotool key --delay 80 alt+f v                           # Save As
  else xdotool key F4                                                                 # New Tape
  fi
  sleep 0.05
  answer_boxes
}

clipboard_is_not() { ! same_bytes "$WORK/clip" "$1" && [ -s "$WORK/clip" ]; }
read_clipboard() { xclip -o -selection clipboard > "$WORK/clip" 2>/dev/null || true; }
copied() { read_clipboard; clipboard_is_not "$WORK/marker"; }

# shown_tape FILE: the tape as the window holds it, through Copy > Entire tape.
shown_tape() {
  printf 'soak %s' "$RANDOM" > "$WORK/marker"
  xclip -i -selection clipboard "$WORK/marker" >/dev/null 2>&1
  answer_boxes
  xdotool key --delay 80 alt+t c                      # Tape > Copy, wherever the keyboard is
  answer Copy Down Down Down Return
  eventually copied || fail "Copy > Entire tape put nothing on the clipboard"
  cp "$WORK/clip" "$1"
}

# new_tape_shown FILE: the tape holds nothing since it was started, at start-up or by New Tape
# (a blank line, then the zero subtotal line); the clipboard gives a space before the first line.
new_tape_shown() {
  tail -2 "$1" | tr -d '\r' | sed 's/^ //' | awk -v n="$(wc -l <"$1")" '
    { line[NR] = $0 }
    END {
      last = line[NR]; sub(/^ +/, "", last)
      exit !(last == "0 =" && (n == 1 || line[1] ~ /^ *$/))
    }'
}
# The tape lines of the saved file, as the clipboard would give them.
saved_tape() {
  [ -f "$TAPE" ] || return 0
  printf ' '; sed -n '/^[A-Z][A-Z][A-Z]=/!p' "$TAPE"
}

title_recovered() { [[ "$(title)" == *'(recovered)' ]]; }
records() { find "$STATE" -maxdepth 1 -name '*.QBR' 2>/dev/null | wc -l; }
losses=0 kills=0 recovered=0
lost() {
  losses=$((losses + 1))
  echo "LOST after kill $kills ($1): $2"
  echo "--- the window showed"; cat -A "$WORK/before" | head -40
  echo "--- $3"; cat -A "$4" | head -40
}

deadline=$((SECONDS + MINUTES * 60))
start_working
while [ "$SECONDS" -lt "$deadline" ]; do
  for ((i = RANDOM % 25 + 3; i > 0 && SECONDS < deadline; i--)); do act; done
  shown_tape "$WORK/before"
  # Now and then a line comes just before the copy and the kill: well within a second of it.
  if chance 40; then xdotool type --delay 15 "$((RANDOM % 100))+"; shown_tape "$WORK/before"; fi
  signal=$(pick KILL KILL TERM)
  kill -s "$signal" "$PROGRAM"
  kills=$((kills + 1))
  wait "$PROGRAM" 2>/dev/null || true
  PROGRAM=

  start_program
  answer 'Oops!' Return                               # no printer
  if [ "$(records)" -gt 0 ]; then
    answer 'the Quillbox' y                           # "... Recover it?" Yes
    eventually title_recovered || fail "the title is '$(title)', not that of a recovered tape"
    recovered=$((recovered + 1))
    focus_main
    shown_tape "$WORK/after"
    same_bytes "$WORK/after" "$WORK/before" ||
      lost "SIG$signal" "the recovered tape is not the one the window showed" "recovered" "$WORK/after"
  else
    focus_main
    saved_tape > "$WORK/saved"
    if ! new_tape_shown "$WORK/before" && ! same_bytes "$WORK/before" "$WORK/saved"; then
      lost "SIG$signal" "nothing was offered, and the tape shown was neither new nor the one saved" \
        "saved in $TAPE" "$WORK/saved"
    fi
  fi
done
echo "soak: $ACTIONS actions, $kills kills, $recovered tapes recovered, $losses losses (seed $SEED)"
[ "$losses" = 0 ] || fail "$losses tapes lost"
passed 'recovery soak' "$kills"
