# Helpers for driving the real program under Xvfb with xdotool, as a person would.
# Each test gets a fresh HOME and start directory.

fail() { echo "FAIL: $*" >&2; exit 1; }

# new_user [first-run]: a fresh HOME and start directory; without "first-run" the settings say
# the program has run before, so no welcome message comes up.
new_user() {
  WORK=$(mktemp -d)
  export HOME=$WORK/home START=$WORK/start
  mkdir -p "$HOME" "$START"
  if [ "${1:-}" != first-run ]; then
    mkdir -p "$HOME/.config/the Quillbox"
    printf '[Settings]\nAuto%%20Decimal=False\n' > "$HOME/.config/the Quillbox/the Quillbox.ini"
  fi
}

# start_program: starts the program in $START and waits for its window.
start_program() {
  (cd "$START" && exec "$QUILLBOX" >>"$WORK/program.log" 2>&1) &
  PROGRAM=$!
  for _ in $(seq 100); do
    WINDOW=$(xdotool search --onlyvisible --name '^the Quillbox' 2>/dev/null | head -1 || true)
    [ -n "$WINDOW" ] && break
    sleep 0.1
  done
  [ -n "$WINDOW" ] || fail "the window did not come up"
  sleep 0.5
}

# dismiss_box TITLE: presses Enter in the message box of that title once it shows.
dismiss_box() {
  for _ in $(seq 50); do
    if xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; then
      sleep 0.2; xdotool key Return; sleep 0.3; return 0
    fi
    sleep 0.1
  done
  fail "no box titled $1"
}

# start_working: the program started, its no-printer box (there is no printer here) dismissed,
# and the keyboard on its window.
start_working() {
  start_program
  dismiss_box 'Oops!'
  focus_main
}

focus_main() { xdotool windowfocus --sync "$WINDOW"; sleep 0.2; }
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
typed() { xdotool type --delay 50 "$1"; sleep 0.3; }
title() { xdotool getwindowname "$WINDOW"; }

# stop_program: waits for the program to end after a close, or ends it.
stop_program() {
  for _ in $(seq 50); do kill -0 "$PROGRAM" 2>/dev/null || return 0; sleep 0.1; done
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
  [ -n "${PROGRAM:-}" ] && kill "$PROGRAM" 2>/dev/null || true
  for pid in ${HELPERS:-}; do kill "$pid" 2>/dev/null || true; done
  [ -n "${WORK:-}" ] && rm -rf "$WORK"
}

# new_user_cleaned [first-run]: new_user with a runtime folder of its own (so the one-copy lock
# of another session cannot get in the way), and the folders go away when the script ends.
new_user_cleaned() {
  new_user "$@"
  export XDG_RUNTIME_DIR=$WORK/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  trap clean_up EXIT
}

settings_file() { echo "$HOME/.config/the Quillbox/the Quillbox.ini"; }

# setting KEY: the stored text of a key of the [Settings] group (spaces in KEY as plain
# spaces), as written in the file; empty when it is missing.
setting() {
  local key=${1// /%20}
  sed -n "s/^${key}=//p" "$(settings_file)" | tr -d '\r'
}

# expect_setting KEY VALUE
expect_setting() {
  local got
  got=$(setting "$1")
  [ "$got" = "$2" ] || fail "setting $1 is '$got', expected '$2'"
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

# wait_box TITLE: waits (up to 5 s) for a window of that title other than the main window and
# prints its id.
wait_box() {
  local id
  for _ in $(seq 50); do
    id=$(box_id "$1")
    [ -n "$id" ] && { sleep 0.3; echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window titled $1"
}

# wait_gone ID: waits (up to 5 s) until that window is no longer shown.
wait_gone() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$1" || { sleep 0.2; return 0; }
    sleep 0.1
  done
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
# presses Enter, waits until the window has closed and gives the main window the keyboard back
# (there is no window manager to do it).
fill_in() {
  local id
  id=$(wait_box "$1")
  xdotool type --delay 50 "$2"; sleep 0.2
  xdotool key Return
  wait_gone "$id"
  focus_main
}

# no_box TITLE: fails when a window of that title other than the main one is shown.
no_box() {
  [ -z "$(box_id "$1")" ] || fail "unexpected window titled $1"
}

# wait_title TEXT: waits (up to 5 s) until the main window's title is TEXT.
wait_title() {
  for _ in $(seq 50); do
    [ "$(title)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the title is '$(title)', expected '$1'"
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

# expect_file PATH LINE...: the file holds exactly the bytes tape_file gives for the lines.
expect_file() {
  local path=$1; shift
  [ -f "$path" ] || fail "no file $path"
  if ! cmp -s "$path" <(tape_file "$@"); then
    echo "--- got"; od -c "$path"; echo "--- expected"; tape_file "$@" | od -c
    fail "$path differs"
  fi
}

# passed NAME N: the closing line of a script that got this far.
passed() { echo "$1: $2 passed, 0 failed"; }
