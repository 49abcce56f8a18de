#!/usr/bin/env bash
# Kills the day of crash_scenario at each of its file system calls in turn, one kill a run
# (strace -e inject=CALL:signal=SIGKILL:when=N), and after every kill checks what is on the disk:
# each file is its old or its new version byte for byte, no stray copy is left, and the start-up
# recovery brings back the tape of the last flush that completed. Prints the count of states
# checked; fails when any state is wrong, naming the call, its number and what was wrong.
#   kill_at_every_call.sh CRASH_SCENARIO [CALL...]
# As root, the day runs as nobody: a folder's mode binds root in nothing.
set -euo pipefail
SCENARIO=$(readlink -f "$1"); shift
CALLS=("$@")
[ ${#CALLS[@]} -gt 0 ] || CALLS=(openat write fsync fdatasync rename linkat unlink ftruncate)

# 77: this machine lets no process trace another (a container without ptrace).
strace -f -qq -o /dev/null true 2>/dev/null || { echo "SKIP: strace cannot trace here"; exit 77; }
WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
chmod 755 "$WORK"
as_user=()
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  cp "$SCENARIO" "$WORK/crash_scenario"  # its own folder may be closed to others
  SCENARIO=$WORK/crash_scenario
fi
mkdir "$WORK/pristine" "$WORK/ref"
[ ${#as_user[@]} -eq 0 ] || chown -R 65534:65534 "$WORK"
scenario() { "${as_user[@]}" "$SCENARIO" "$@"; }
scenario prepare "$WORK/pristine"

# fresh: the day's folders as prepared, in $WORK/day.
fresh() {
  chmod -R u+w "$WORK/day" 2>/dev/null || true
  rm -rf "$WORK/day"
  cp -a "$WORK/pristine" "$WORK/day"
}

# The day once without a kill: what each step leaves, to compare with.
fresh
scenario run "$WORK/day" "$WORK/ref" 3>"$WORK/day/marks" || { echo "FAIL: the day does not run whole"; exit 1; }

checked=0 faults=0 noted=0
# The order of the calls, under a strict persistence model: no record removed before the file
# that replaces it is durable, its folder synced.
fresh
"${as_user[@]}" strace -f -y -qq -o "$WORK/trace" -e trace=openat,write,fsync,fdatasync,rename,linkat,unlink,pwrite64 \
  "$SCENARIO" run "$WORK/day" 3>"$WORK/day/marks" >/dev/null 2>&1 ||
  { echo "FAIL: the day does not run whole under strace"; exit 1; }
order=$(awk -f "$(dirname "$0")/durable_order.awk" "$WORK/trace")
if [ -n "$order" ]; then
  faults=$((faults + $(wc -l <<<"$order")))
  echo "FAIL: the order of the calls loses a tape at a power cut:"
  sed 's/^/    /' <<<"$order"
fi
for call in "${CALLS[@]}"; do
  # The calls of this kind the day makes between its first mark and its last; those before are
  # the program's loading, where nothing of the day can be lost.
  fresh
  "${as_user[@]}" strace -f -qq -o "$WORK/trace" -e trace="$call",pwrite64 \
    "$SCENARIO" run "$WORK/day" 3>"$WORK/day/marks" >/dev/null 2>&1 ||
    { echo "FAIL: the day does not run whole under strace"; exit 1; }
  read -r first last < <(awk -v call="$call" '
    { sub(/^[0-9]+ +/, "") }
    index($0, call "(") == 1 { n++ }
    index($0, "pwrite64(3,") == 1 { if (!marked) first = n + 1; marked = 1; last = n }
    END { print first + 0, last + 0 }' "$WORK/trace")
  for ((n = first; n <= last; n++)); do
    fresh
    status=0
    # In a shell of its own, whose word on the kill goes nowhere.
    ("${as_user[@]}" strace -f -qq -o /dev/null -e trace="$call" -e inject="$call":signal=SIGKILL:when="$n" \
      "$SCENARIO" run "$WORK/day" 3>"$WORK/day/marks" >/dev/null 2>&1; exit $?) 2>/dev/null || status=$?
    if [ "$status" = 0 ]; then
      echo "FAIL: $call #$n: the day ran whole, not killed: it does not make the same calls each run"
      faults=$((faults + 1)); continue
    fi
    checked=$((checked + 1))
    if ! report=$(scenario check "$WORK/day" "$WORK/ref" 2>&1); then
      faults=$((faults + 1))
      echo "FAIL: killed at $call #$n (of $first..$last):"
      sed 's/^/    /' <<<"$report"
    elif grep -q '^note:' <<<"$report"; then
      noted=$((noted + 1))
      echo "killed at $call #$n: $(grep '^note:' <<<"$report" | head -1)"
    fi
  done
  if [ "$last" -ge "$first" ]; then echo "$call: killed at each of calls $first..$last"; else echo "$call: none in the day"; fi
done
echo "crash consistency: $checked states checked, $faults wrong, $noted noted"
[ "$faults" = 0 ]
