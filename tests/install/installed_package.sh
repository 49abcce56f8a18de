#!/usr/bin/env bash
# The Debian package as a user meets it: unpacked into a folder of its own (dpkg -x) and started
# by a user who is not root, first from a fresh home folder that holds no topics, then from the
# read-only folder where the package keeps its data. The User Guide lists the installed topics,
# the machine sound is found, and a tape saved under a bare name lands where the user may write.
# tests/install/run builds the package and starts this under Xvfb.
set -euo pipefail
DEB=$1
. "$(dirname "$0")/../e2e/lib.sh"
new_user_cleaned
checks=0

ROOT=$WORK/root
dpkg -x "$DEB" "$ROOT"
DATA=$ROOT/usr/share/quillbox
[ -x "$ROOT/usr/bin/quillbox" ] || fail "the package holds no usr/bin/quillbox"
[ -f "$DATA/UG Benefits.rtf" ] && [ -f "$DATA/Quillbox.wav" ] || fail "the package holds no topics or sound"
grep -q '^Path=' "$ROOT/usr/share/applications/quillbox.desktop" && fail "the menu entry sets a working folder"
chmod -R a-w "$DATA"
mkdir "$HOME/Documents"

as_plain_user "$ROOT/usr/bin/quillbox"

clipboard_first_line() { [ "$(xclip -o -selection clipboard 2>/dev/null | head -1)" = "$1" ]; }
tape_saved() { [ "$(head -c 4 "$1" 2>/dev/null)" = 'QBX=' ]; }

# save_as NAME: a tape of one number saved through the caption prompt and the file dialog,
# the name typed without a folder.
save_as() {
  typed '12+'
  keys ctrl+s
  answer 'the Quillbox' Return              # the caption prompt
  fill_in 'the Quillbox' "$1"               # the file dialog
}

# 1. From a fresh home folder: the topics and the sound come from the installed data folder.
START=$HOME
start_working
keys F1
guide=$(wait_box 'User Guide')
xdotool key --delay 100 Tab ctrl+a ctrl+c   # the topic's text, from the list to the viewer
eventually clipboard_first_line 'Benefits' ||
  fail "the User Guide shows no installed topic: '$(xclip -o -selection clipboard 2>/dev/null | head -1)'"
checks=$((checks + 1))
xdotool key Escape
wait_gone "$guide"
focus_main
# The sound was found in the data folder: nothing says it is missing, and where no sound device
# is (a test machine), the line that says so names the installed file.
grep -q 'no machine sound' "$WORK/program.log" && fail "the sound was not found: $(cat "$WORK/program.log")"
if grep -q 'no sound device' "$WORK/program.log"; then
  grep -qF "$DATA/Quillbox.wav is not played" "$WORK/program.log" ||
    fail "the sound is not the installed one: $(cat "$WORK/program.log")"
fi
checks=$((checks + 1))
save_as march
eventually tape_saved "$HOME/march.QBX" || fail "no tape saved in the home folder: $(cat "$WORK/program.log")"
wait_title 'the Quillbox (march.QBX)'
checks=$((checks + 1))
keys ctrl+x
stop_program

# 2. From the package's read-only data folder, as the old menu entry started it: the tape goes
# to the Documents folder.
START=$DATA
start_working
save_as april
eventually tape_saved "$HOME/Documents/april.QBX" || fail "no tape saved in Documents: $(cat "$WORK/program.log")"
[ ! -e "$DATA/april.QBX" ] || fail "a file was written in the data folder"
grep -q 'cannot write' "$WORK/program.log" && fail "a save failed: $(cat "$WORK/program.log")"
checks=$((checks + 1))
keys ctrl+x
stop_program
passed 'installed package' "$checks"
