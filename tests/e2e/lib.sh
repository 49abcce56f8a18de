# Helpers for driving the real program under Xvfb with xdotool, as a person would.
# Each test gets a fresh HOME and start directory.
#
# Nothing here trusts a pause to have been long enough: every check of something the program
# does waits for it to be so, up to PATIENCE seconds, and fails saying what it last saw. On a
# busy machine the program may take many seconds for a step (the splash alone stays five); a
# passing test waits only as long as the program needs.

PATIENCE=${QB_E2E_PATIENCE:-30}
# The program reads and shows dates the locale's way; scripts say which locale they want.
export LC_ALL=${QB_E2E_LOCALE:-C.UTF-8}

fail() { echo "FAIL: $*" >&2; exit 1; }
not() { ! "$@"; }

# eventually CMD...: runs the command every tenth of a second until it succeeds; false when it
# has not within PATIENCE seconds. The command must not fail the test itself: the callers fail
# it, saying what they last saw.
eventually() {
  local deadline=$((SECONDS + PATIENCE))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# new_user [first-run]: a fresh HOME and start directory; without "first-run" the settings say
# the program has run before, so no welcome message comes up.
new_user() {
  WORK=$(mktemp -d)
  export HOME=$WORK/home START=$WORK/start
  # No printer, whatever the machine has: the program asks a print service that is not there.
  # A script that prints starts a service of its own and points CUPS_SERVER at it.
  export CUPS_SERVER=$WORK/no-print-service.sock
  mkdir -p "$HOME" "$START"
  if [ "${1:-}" != first-run ]; then
    mkdir -p "$HOME/.config/the Quillbox"
    printf '[Settings]\nAuto%%20Decimal=False\n' > "$HOME/.config/the Quillbox/the Quillbox.ini"
  fi
}

# main_window_found: sets WINDOW to the shown main window, if there is one.
main_window_found() {
  WINDOW=$(xdotool search --onlyvisible --name '^the Quillbox' 2>/dev/null | head -1)
  [ -n "$WINDOW" ]
}

# start_program: starts the program in $START and waits for its window, which comes after the
# splash.
start_program() {
  (cd "$START" && exec "$QUILLBOX" >>"$WORK/program.log" 2>&1) &
  PROGRAM=$!
  eventually main_window_found_or_ended || true
  [ -n "$WINDOW" ] && return 0
  program_running || fail "the program ended before its window came up"
  fail "the window did not come up"
}
main_window_found_or_ended() { main_window_found || not program_running; }

# start_working: the program started, its no-printer box (there is no printer here) dismissed,
# and the keyboard on its window.
start_working() {
  start_program
  answer 'Oops!' Return
  focus_main
}

# The keyboard goes to the window that has the input focus when xdotool sends a key, so keys
# for a box are sent only once the box has it; key and type are paced with --delay alone.
focus_main() { xdotool windowfocus --sync "$WINDOW"; }
keys() { xdotool key --delay 60 "$@"; }
typed() { xdotool type --delay 50 "$1"; }
title() { xdotool getwindowname "$WINDOW"; }
title_is() { [ "$(title)" = "$1" ]; }

# wait_title TEXT: waits until the main window's title is TEXT.
wait_title() {
  eventually title_is "$1" || fail "the title is '$(title)', expected '$1'"
}

program_running() { kill -0 "$PROGRAM" 2>/dev/null; }

# stop_program: waits for the program to end after a close, or ends it.
stop_program() {
  if eventually not program_running; then PROGRAM=; return 0; fi
  kill "$PROGRAM" 2>/dev/null || true
  fail "the program did not end"
}

# --- helpers for the longer journeys ---

# clean_up: ends what the test started and removes its folders, showing the program's output
# when the test failed; new_user_cleaned arms it.
clean_up() {
  local status=$?
  if [ "$status" != 0 ] && [ -s "${WORK:-}/program.log" ]; then
    echo "--- the program's output" >&2; cat "$WORK/program.log" >&2
  fi
  local pid left
  # A SIGTERM ends the program on its event loop, which still writes its settings and record:
  # the folders go only once it has ended (killed outright if it does not within PATIENCE).
  for pid in ${PROGRAM:-} ${HELPERS:-}; do kill "$pid" 2>/dev/null || true; done
  for pid in ${PROGRAM:-} ${HELPERS:-}; do
    left=$((SECONDS + PATIENCE))
    while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$left" ]; do sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  # Folders a test made read-only are opened again, so they can go too.
  [ -n "${WORK:-}" ] && { chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"; }
}

# new_user_cleaned [first-run]: new_user with a runtime folder of its own (so the one-copy lock
# of another session cannot get in the way), and the folders go away when the script ends.
new_user_cleaned() {
  new_user "$@"
  export XDG_RUNTIME_DIR=$WORK/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  trap clean_up EXIT
}

# as_plain_user PROGRAM: QUILLBOX becomes PROGRAM run by a user who is not root, since root
# writes anywhere, read-only folders included. As root: a copy of PROGRAM run as nobody, with
# the test's folders given to that user and the X server's key in a copy that user may read. A
# PROGRAM outside the test's folder is copied in, as the folder it lies in may be closed to others.
as_plain_user() {
  QUILLBOX=$WORK/as-user
  if [ "$(id -u)" != 0 ]; then
    printf '#!/bin/sh\nexec "%s" "$@"\n' "$1" > "$QUILLBOX"
  else
    chmod 755 "$WORK"
    case $1 in
      "$WORK"/*) ;;
      *) cp "$1" "$WORK/quillbox"; set -- "$WORK/quillbox" ;;  # its own folder may be closed to others
    esac
    chown -R 65534:65534 "$HOME" "$START" "$XDG_RUNTIME_DIR"
    cp "$XAUTHORITY" "$WORK/xauthority"
    chown 65534:65534 "$WORK/xauthority"
    printf '#!/bin/sh\nXAUTHORITY=%s exec setpriv --reuid=65534 --regid=65534 --clear-groups "%s" "$@"\n' \
      "$WORK/xauthority" "$1" > "$QUILLBOX"
  fi
  chmod 755 "$QUILLBOX"
}

settings_file() { echo "$HOME/.config/the Quillbox/the Quillbox.ini"; }

# setting KEY: the stored text of a key of the [Settings] group (spaces in KEY as plain
# spaces), as written in the file; empty when it is missing.
setting() {
  local key=${1// /%20}
  sed -n "s/^${key}=//p" "$(settings_file)" 2>/dev/null | tr -d '\r'
}
setting_is() { [ "$(setting "$1")" = "$2" ]; }

# wait_setting KEY VALUE: waits until the stored text of the key is VALUE (at once when it is).
wait_setting() {
  eventually setting_is "$1" "$2" || fail "setting $1 is '$(setting "$1")', expected '$2'"
}

# box_id TITLE: the id of a shown window of exactly that title other than the main window,
# or nothing.
box_id() {
  local id
  for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    [ "$id" != "${WINDOW:-}" ] && { echo "$id"; return 0; }
  done
  return 0
}
box_shown() { [ -n "$(box_id "$1")" ]; }

# wait_box TITLE: waits for a window of that title other than the main window, gives it the
# keyboard (there is no window manager to do it) and prints its id.
wait_box() {
  local id
  eventually box_shown "$1" || fail "no window titled $1"
  id=$(box_id "$1")
  xdotool windowfocus --sync "$id"
  echo "$id"
}

window_shown() { xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$1"; }

# wait_gone ID: waits until that window is no longer shown.
wait_gone() {
  eventually not window_shown "$1" ||
    fail "window $1 ($(xdotool getwindowname "$1" 2>/dev/null)) is still shown"
}

# answer TITLE KEY...: waits for the window of that title (not the main one), presses the keys
# in it and waits until it has closed.
answer() {
  local id
  id=$(wait_box "$1"); shift
  xdotool key --delay 80 "$@"
  wait_gone "$id"
}

# fill_in TITLE TEXT: waits for the window of that title (not the main one), types the text,
# presses Enter, waits until the window has closed and gives the main window the keyboard back.
fill_in() {
  local id
  id=$(wait_box "$1")
  xdotool type --delay 50 "$2"
  xdotool key Return
  wait_gone "$id"
  focus_main
}

# no_box TITLE: fails when a window of that title other than the main one is shown.
no_box() {
  [ -z "$(box_id "$1")" ] || fail "unexpected window titled $1"
}

# geometry: "x y width height" of the main window.
geometry() {
  xdotool getwindowgeometry --shell "$WINDOW" | awk -F= '
    $1 == "X" {x = $2} $1 == "Y" {y = $2} $1 == "WIDTH" {w = $2} $1 == "HEIGHT" {h = $2}
    END {print x, y, w, h}'
}
# tape_file LINE...: the bytes of a tape file, each argument one line ending in CR LF; lines
# given as "|text|" are tape lines, right-aligned to 18 characters.
tape_file() {
  local line
  for line in "$@"; do
    case $line in
      \|*\|) line=${line#|}; printf '%18s\r\n' "${line%|}" ;;
      *) printf '%s\r\n' "$line" ;;
    esac
  done
}

same_bytes() { cmp -s "$1" "$2"; }

# differ GOT EXPECTED WHAT: shows both files byte by byte and fails, saying WHAT differs.
differ() {
  echo "--- got"; od -c "$1" 2>&1; echo "--- expected"; od -c "$2"
  fail "$3 differs"
}

# wait_file PATH LINE...: waits until the file holds exactly the bytes tape_file gives for the
# lines (a save rewrites the file: the old bytes do not count).
wait_file() {
  local path=$1; shift
  tape_file "$@" > "$WORK/expected"
  eventually same_bytes "$path" "$WORK/expected" || differ "$path" "$WORK/expected" "$path"
}

clipboard_holds() {
  xclip -o -selection clipboard > "$WORK/clip" 2>/dev/null && same_bytes "$WORK/clip" "$WORK/expected"
}

# wait_clipboard: waits until the clipboard holds exactly the bytes given on standard input.
wait_clipboard() {
  cat > "$WORK/expected"
  eventually clipboard_holds || differ "$WORK/clip" "$WORK/expected" "the clipboard"
}

# csv_keyed_and_reopened CHECK QBX: exports the tape as CSV; then, after a New Tape (the tape
# saved as QBX, so no question), opens QBX and exports it again. CHECK, given a CSV's path, must
# accept both exports.
csv_keyed_and_reopened() {
  local check=$1 file=$2
  keys alt+f e c                            # File > Export > CSV...
  fill_in 'the Quillbox' "$START/keyed"
  eventually "$check" "$START/keyed.csv" || fail "the keyed tape's CSV: $(cat -A "$START/keyed.csv" 2>&1)"
  keys F4
  wait_title 'the Quillbox'
  keys ctrl+o
  fill_in 'the Quillbox' "$file"
  wait_title "the Quillbox ($(basename "$file" .QBX))"
  keys alt+f e c
  fill_in 'the Quillbox' "$START/opened"
  eventually "$check" "$START/opened.csv" || fail "the opened tape's CSV: $(cat -A "$START/opened.csv" 2>&1)"
}

# passed NAME N: the closing line of a script that got this far.
# Copy > Entire Tape: the whole tape onto the clipboard.
copy_whole_tape() { keys ctrl+c; answer Copy Down Down Return; }
# Exit, answering No to "Save the tape?", and wait until the program has gone.
quit_unsaved() {
  focus_main
  keys ctrl+x
  answer 'the Quillbox' n
  stop_program
}
passed() { echo "$1: $2 passed, 0 failed"; }
