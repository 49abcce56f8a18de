#!/usr/bin/env bash
# The Debian package installed on the system, as a distribution would take it: apt-get installs
# it, lintian finds no error and no warning in it, the software-centre entry and the menu entry
# pass their validators, the program is hardened, tape files have their file type, the installed
# program opens a tape named on its command line and starts on Wayland alone, and dpkg --purge
# leaves none of its files.
# Needs root (it installs and removes the package); tests/install/run starts it under Xvfb.
set -euo pipefail
DEB=$(readlink -f "$1")
. "$(dirname "$0")/../e2e/lib.sh"
if [ "$(id -u)" != 0 ]; then echo "installed system: installing a package needs root; not run"; exit 0; fi
new_user_cleaned
checks=0
# A copy left installed by an earlier run that failed half way.
dpkg-query -W -f='${Status}' quillbox 2>/dev/null | grep -q installed && dpkg --purge quillbox >/dev/null

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$DEB" >"$WORK/apt.log" 2>&1 ||
  fail "apt-get cannot install the package: $(cat "$WORK/apt.log")"
files=$(dpkg -L quillbox)
checks=$((checks + 1))

# Info tags are shown, not failed on; each that stays is explained in the README.
lintian --fail-on error,warning --display-info --allow-root "$DEB" || fail "lintian: see above"
checks=$((checks + 1))
appstreamcli validate --pedantic --no-net /usr/share/metainfo/example.quillbox.quillbox.metainfo.xml ||
  fail "the metainfo does not validate"
desktop-file-validate /usr/share/applications/quillbox.desktop || fail "the menu entry does not validate"
# Debian 12's C library start files carry no CET mark, so no program there is marked for
# control-flow protection; that the code was built for it shows in its endbr64 instructions.
hardening-check --nocfprotection /usr/bin/quillbox || fail "the program is not hardened"
[ "$(objdump -d /usr/bin/quillbox | grep -c endbr64)" -gt 100 ] || fail "the program was not built with -fcf-protection"
checks=$((checks + 4))
[ -f /usr/share/mime/application/x-quillbox-tape.xml ] || fail "no file type for tapes in the MIME database"
checks=$((checks + 1))

# The installed program, started by a plain user with a tape named on its command line.
tape_file 'QBX=March' 'ACC=12' 'OPR=+' 'NEW=' 'JPE=0' 'SPC=0' '|12.00 +|' > "$START/march.QBX"
as_plain_user /usr/bin/quillbox
(cd "$START" && exec "$QUILLBOX" march.QBX >>"$WORK/program.log" 2>&1) &
PROGRAM=$!
eventually main_window_found_or_ended || true
[ -n "$WINDOW" ] || fail "the installed program's window did not come up"
answer 'Oops!' Return                     # no printer here
wait_title 'the Quillbox (march)'
focus_main
keys ctrl+x
stop_program
checks=$((checks + 1))

# On a desktop with Wayland alone the installed program runs through Wayland: the plugin comes
# with the package.
(exec env -u DISPLAY weston --backend=headless-backend.so --socket=qb-wayland >"$WORK/weston.log" 2>&1) &
WESTON=$!
HELPERS="${HELPERS:-} $WESTON"  # stopped at the end even when a check fails
eventually test -S "$XDG_RUNTIME_DIR/qb-wayland" || fail "weston did not start: $(cat "$WORK/weston.log")"
rm -f "$XDG_RUNTIME_DIR/the Quillbox.lock"
(env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=qb-wayland /usr/bin/quillbox >>"$WORK/program.log" 2>&1) &
PROGRAM=$!
started_or_ended() { [ -e "$XDG_RUNTIME_DIR/the Quillbox.lock" ] || ! program_running; }
eventually started_or_ended || true
program_running || fail "the installed program did not start on Wayland alone"
kill -TERM "$PROGRAM"
stop_program
kill "$WESTON"
checks=$((checks + 1))

dpkg --purge quillbox >/dev/null
left=$(while read -r f; do if [ -e "$f" ] && [ ! -d "$f" ]; then echo "$f"; fi; done <<<"$files")
[ -z "$left" ] || fail "dpkg --purge left: $left"
[ ! -e /usr/share/quillbox ] || fail "dpkg --purge left /usr/share/quillbox"
checks=$((checks + 1))
passed 'installed system' "$checks"
