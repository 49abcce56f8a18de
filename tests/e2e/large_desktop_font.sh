#!/usr/bin/env bash
# The window's size: a desktop font of 16 pt draws the main window about twice as large as the
# 8 pt it was designed for.
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
# The designed size first: no desktop that names a font of its own.
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION
checks=0

width() { local x y w h; read -r x y w h <<<"$(geometry)"; echo "$w"; }
# width_near WIDTH: the window's width is within 6 % of WIDTH.
width_near() { local w; w=$(width); [ $((w * 100)) -ge $(($1 * 94)) ] && [ $((w * 100)) -le $(($1 * 106)) ]; }
wait_width() { eventually width_near "$1" || fail "the window is $(width) pixels wide, expected about $1"; }

start_working
designed=$(width)
keys ctrl+x
stop_program
# A desktop whose general font is 16 pt.
mkdir -p "$HOME/.config/qt6ct"
printf '[Fonts]\ngeneral="Liberation Sans,16,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n' > "$HOME/.config/qt6ct/qt6ct.conf"
export QT_QPA_PLATFORMTHEME=qt6ct
start_working
wait_width $((designed * 2))
[ -z "${QB_E2E_KEEP_SHOTS:-}" ] || import -window root "$QB_E2E_KEEP_SHOTS/font16.png"
checks=$((checks + 1))
keys ctrl+x
stop_program
passed 'large desktop font' "$checks"
