#!/usr/bin/env bash
# A dark desktop palette (qt6ct's "darker" scheme) and a high-contrast one: the numbers on the
# tape are measured on a screenshot against the tape's background, and must read (4.5:1).
set -euo pipefail
QUILLBOX=$1
. "$(dirname "$0")/lib.sh"
new_user_cleaned
[ -r /usr/share/qt6ct/colors/darker.conf ] || fail "qt6ct is not installed (tools/deps)"
export QT_QPA_PLATFORMTHEME=qt6ct

# Black boxes, white text, yellow key captions.
high=$WORK/high-contrast.conf
{
  echo '[ColorScheme]'
  for group in active disabled inactive; do
    echo "${group}_colors=#ffffffff, #ff000000, #ffffffff, #ffc0c0c0, #ff808080, #ffa0a0a0, #ffffffff," \
      "#ffffffff, #ffffff00, #ff000000, #ff000000, #ff000000, #ff00ffff, #ff000000, #ff00ffff, #ffff00ff," \
      "#ff101010, #ffffffff, #ff000000, #ffffffff, #80ffffff"
  done
} > "$high"

# tape_contrast: the contrast of the tape's text against its background in a screenshot of
# the main window; fails when nothing stands out there at all. The tape's place follows from
# the window's width, whatever size it is drawn at (client area 8355 by 5130 twips, tape at
# 4500, 870, 2235 by 3390, under the menu bar).
tape_contrast() {
  local x y w h
  read -r x y w h <<<"$(geometry)"
  import -window root "$WORK/shot.png"
  python3 - "$WORK/shot.png" "$x" "$y" "$w" "$h" <<'PY'
import subprocess, sys
shot, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:])
client_h = w * 5130 / 8355
top = y + (h - client_h)
px = lambda twips: round(w * twips / 8355)
crop = f"{px(2235) - 12}x{px(3390) - 12}+{x + px(4500) + 6}+{round(top) + px(870) + 6}"
ppm = subprocess.run(["convert", shot, "-crop", crop, "+repage", "ppm:-"], check=True, capture_output=True).stdout
fields = ppm.split(maxsplit=4)
data = fields[4]
pixels = [tuple(data[i:i + 3]) for i in range(0, len(data) - 2, 3)]
def luminance(c):
    lin = [v / 255 / 12.92 if v / 255 <= 0.04045 else ((v / 255 + 0.055) / 1.055) ** 2.4 for v in c]
    return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2]
def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)
counts = {}
for p in pixels: counts[p] = counts.get(p, 0) + 1
background = max(counts, key=counts.get)
text = max(counts, key=lambda c: contrast(c, background))
inked = sum(n for c, n in counts.items() if contrast(c, background) >= 3)
print(f"background {background} text {text} contrast {contrast(text, background):.2f} inked {inked}")
sys.exit(0 if inked >= 30 and contrast(text, background) >= 4.5 else 1)
PY
}

checks=0
for scheme in /usr/share/qt6ct/colors/darker.conf "$high"; do
  mkdir -p "$HOME/.config/qt6ct"
  printf '[Appearance]\ncolor_scheme_path=%s\ncustom_palette=true\n' "$scheme" > "$HOME/.config/qt6ct/qt6ct.conf"
  start_working
  typed "1234.5+678+="
  eventually tape_contrast > "$WORK/measured" || { cat "$WORK/measured"; fail "the tape does not read in $scheme"; }
  echo "$(basename "$scheme"): $(cat "$WORK/measured")"
  [ -z "${QB_E2E_KEEP_SHOTS:-}" ] || cp "$WORK/shot.png" "$QB_E2E_KEEP_SHOTS/$(basename "$scheme" .conf).png"
  checks=$((checks + 1))
  quit_unsaved
done
echo "PASS: $checks checks"
