#!/usr/bin/env bash
# A tape named on the command line opens once the program has started. With that copy running,
# a second start hands its file over: the running copy comes to the front, asks "Save the tape?"
# for its changed tape, opens the file, and the second start ends without a word. A folder
# handed over is refused with a message and the tape stays; a second start without a file says
# that a copy runs, and that copy comes to the front, above a window that covered it.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
checks=0
tape() { printf 'QBX=%s\r\nACC=%s\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n%18s\r\n' "$1" "$2" "$2.00 +"; }
tape March 12 > "$START/march.QBX"
tape April 30 > "$START/april.QBX"

openbox >"$WORK/openbox.log" 2>&1 &
HELPERS=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
eventually wm_running || fail "the window manager did not start"

# 1. The file named at start, relative to the folder the program starts in.
(cd "$START" && exec "$QUILLBOX" march.QBX >>"$WORK/program.log" 2>&1) &
PROGRAM=$!
eventually main_window_found_or_ended || true
[ -n "$WINDOW" ] || fail "the window did not come up"
answer 'Oops!' Return                     # no printer here
wait_title 'the Quillbox (march)'
checks=$((checks + 1))

# 2. Handed over to the running copy, whose tape changed: No to "Save the tape?", then it opens.
focus_main
typed '5+'
second() { (cd "$WORK" && exec "$QUILLBOX" "$@" >>"$WORK/second.log" 2>&1); }
second "$START/april.QBX" &
SECOND=$!
answer 'the Quillbox' n                   # "Save the tape?"
wait_title 'the Quillbox (april)'
wait "$SECOND" || fail "the second start ended with status $?: $(cat "$WORK/second.log")"
no_box 'Oops!'
checks=$((checks + 1))

# 3. A folder handed over: the running copy says so and keeps its tape.
second "$START" &
SECOND=$!
answer 'Oops!' Return
wait "$SECOND" || fail "the second start with a folder ended with status $?"
title_is 'the Quillbox (april)' || fail "the title changed to $(title)"
checks=$((checks + 1))

# 4. No file: the second start says a copy runs, and that copy comes above a covering window.
xmessage -geometry 1280x1024+0+0 'covering the program' &
HELPERS="$HELPERS $!"
covered() { xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk '{print $NF}' | grep -qv "$(printf '0x%x' "$WINDOW")"; }
eventually covered || fail "the covering window did not come up"
second &
SECOND=$!
answer 'Oops!' Return                     # "A copy of the Quillbox is already running!"
status=0; wait "$SECOND" || status=$?
[ "$status" = 1 ] || fail "the second start ended with status $status"
on_top() { [ "$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk '{print $NF}')" = "$(printf '0x%x' "$WINDOW")" ]; }
eventually on_top || fail "the running copy did not come to the front: $(xprop -root _NET_CLIENT_LIST_STACKING)"
checks=$((checks + 1))
focus_main
keys ctrl+x
stop_program
passed 'open from the command line' "$checks"
