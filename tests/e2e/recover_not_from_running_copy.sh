#!/usr/bin/env bash
# Two copies share a home but not a login session (each its own XDG_RUNTIME_DIR, so the one-copy
# lock does not keep the second from starting): the second never offers, moves or deletes the
# first one's recovery record, and the first keeps appending to it.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
STATE="$HOME/.local/state/the Quillbox"
# holds PID LINE: the record of that copy holds the tape line.
holds() { cat "$STATE/$1"-*.QBR 2>/dev/null | tr -d '\r' | grep -qxE -- "\+?$2"; }
# shown_by PID TITLE: how many shown windows of that copy have exactly that title.
shown_by() { xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | wc -l; }
second_window_found() { [ "$(shown_by "$SECOND" 'the Quillbox')" -ge 1 ]; }

start_working
FIRST=$PROGRAM FIRST_WINDOW=$WINDOW
typed '11+22+'
eventually holds "$FIRST" '           22.00 \+' || fail "the first copy's record never held its tape"

mkdir -m 700 "$WORK/runtime2"
(cd "$START" && XDG_RUNTIME_DIR=$WORK/runtime2 exec "$QUILLBOX" >>"$WORK/program.log" 2>&1) &
SECOND=$!
HELPERS=$SECOND
eventually second_window_found || fail "the second copy's window did not come up"
WINDOW=$FIRST_WINDOW
answer 'Oops!' Return                     # the second copy's "no printer"
WINDOW=$(xdotool search --all --onlyvisible --pid "$SECOND" --name '^the Quillbox$' | head -1)
# Keys reach the second copy's tape only when no question holds its window.
focus_main
typed '5+'
eventually holds "$SECOND" '            5.00 \+' ||
  fail "the second copy did not take keys: $(shown_by "$SECOND" 'the Quillbox') windows titled the Quillbox"
[ "$(shown_by "$SECOND" 'the Quillbox')" = 1 ] || fail "the second copy asked about the first one's tape"
[ ! -e "$STATE/discarded" ] || fail "the first copy's record was moved aside: $(ls "$STATE/discarded")"

WINDOW=$FIRST_WINDOW
focus_main
typed '33+'
eventually holds "$FIRST" '           33.00 \+' || fail "the first copy's record no longer follows its tape"
grep -q "cannot" "$WORK/program.log" && fail "a copy could not keep its record: $(cat "$WORK/program.log")"
passed 'recover not from a running copy' 1
