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
