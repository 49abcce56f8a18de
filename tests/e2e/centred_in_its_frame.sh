#!/usr/bin/env bash
# Under a window manager, which gives a window its frame only once it is shown, the main
# window's outer frame stands centred on the screen at start-up and again whenever the expanded
# window comes back, wherever it was before; the User Guide's frame opens centred too.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
command -v openbox >/dev/null || fail "no openbox (tools/deps installs it)"
new_user_cleaned
checks=0

openbox >"$WORK/openbox.log" 2>&1 &
HELPERS=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
eventually wm_running || fail "the window manager did not start"

# outer [ID]: the frame of the window (the main one by default) as left top width height, once
# the window manager has framed it.
outer() {
  local id=${1:-$WINDOW} l r t b x y w h
  read -r l r t b <<<"$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')"
  [ -n "${b:-}" ] && [ "$t" -gt 0 ] || return 1
  read -r x y w h <<<"$(xwininfo -id "$id" |
    awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')"
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
# centred [ID]: the frame's left and top are within a pixel of centring it on the 1280 by 1024 screen.
centred() {
  local x y w h
  read -r x y w h <<<"$(outer "$@")" || return 1
  [ -n "${h:-}" ] || return 1
  local dx=$((2 * x - (1280 - w))) dy=$((2 * y - (1024 - h)))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}
wait_centred() { eventually centred "$@" || fail "the frame stands at $(outer "$@" || echo '(no frame)'), not centred"; }

start_working
wait_centred
checks=$((checks + 1))

keys F11
wait_title 'tQB 1999'
xdotool windowmove --sync "$WINDOW" 40 60
focus_main
keys F11
wait_title 'the Quillbox'
wait_centred
checks=$((checks + 1))

keys F1
guide=$(wait_box 'User Guide')
wait_centred "$guide"
checks=$((checks + 1))

focus_main
keys ctrl+x
stop_program
passed 'frame centred' "$checks"
