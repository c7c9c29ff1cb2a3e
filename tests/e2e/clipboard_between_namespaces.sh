#!/usr/bin/env bash
# Two copies of the application in two network namespaces: A dials B through
# the connect dialog; texts then travel both ways. Prints each change's
# propagation time. Exit 0 when every step held, 1 on a failure, 77
# (skipped) when it cannot run here.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
source "$(dirname "$0")/two_copies.sh"

start_app A
start_app B
wait_for 30 "A listening" listening A
wait_for 30 "B listening" listening B

# A dials B through the connect dialog: the dialler pushes its clipboard.
printf 'from A at the start' >"$work/first"
copy_until_shown A "$work/first"
dial A "$addressB"
wait_for 10 "A's text on B (the dialler's push)" same_clipboard B "$work/first" &&
  echo "the dialler's push reached B"

printf 'from B' >"$work/fromB"
propagate B A "$work/fromB" "B's text"
printf 'FROM B' >"$work/caseOnly"
propagate B A "$work/caseOnly" "a change of letter case only"
head -c 1500000 /dev/urandom | base64 -w 76 | head -c 2000000 >"$work/big"
propagate A B "$work/big" "2 MB of text"
[ "$(clipboard_of B | sha256sum)" = "$(sha256sum <"$work/big")" ] || fail "the 2 MB text differs on B"

# Near-simultaneous changes converge.
printf 'racing from A' >"$work/raceA"
printf 'racing from B' >"$work/raceB"
start=$(date +%s%N)
copy_on A "$work/raceA"
copy_on B "$work/raceB"
# Each side's copy has been read or overwritten, and the two then agree.
converged() {
  local a b
  a=$(clipboard_of A) && b=$(clipboard_of B) && [ "$a" = "$b" ] &&
    { [ "$a" = "racing from A" ] || [ "$a" = "racing from B" ]; }
}
if wait_for 20 "the clipboards to converge after near-simultaneous changes" converged; then
  echo "convergence after near-simultaneous changes: $((($(date +%s%N) - start) / 1000000)) ms" \
    "on \"$(clipboard_of A)\""
else
  for side in A B; do
    echo "$side's clipboard: \"$(clipboard_of $side | head -c 80)\"; its log:"
    tail -n 20 "$work/app$side.log"
  done
fi

# Nothing echoes: once both copies settled, the connection's byte counters
# hold still.
sleep 1
before=$(byte_counters A)
sleep 1
[ "$before" = "$(byte_counters A)" ] || fail "traffic without a change: $before / $(byte_counters A)"

# B goes: A listens again. B comes back and dials A.
end_ours "${appPid[B]}"
wait "${appPid[B]}" 2>/dev/null
wait_for 20 "A listening again after B ended" listening A
start_app B
dial B "$addressA"
printf 'after the restart' >"$work/again"
propagate A B "$work/again" "a text after B's restart"

# Ctrl+Q ends both copies with status 0. A key lost on a loaded machine
# (xdotool may fail to reach the display) is pressed again while the copy
# still runs, its window looked up again; an ended copy stays a zombie
# until waited for.
running() { [ -e "/proc/$1" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null; }
for side in A B; do
  pid=${appPid[$side]}
  for attempt in 1 2 3 4 5 6; do
    window=$(on "$side" xdotool search --name '^Vadezezidev$' | head -1)
    said=$(on "$side" xdotool windowfocus --sync "$window" key ctrl+q 2>&1)
    for look in $(seq $((50 * factor))); do
      running "$pid" || break 2
      sleep 0.1
    done
  done
  if running "$pid"; then
    fail "Ctrl+Q did not end $side (window $window; xdotool said: $said); its log:"
    tail -n 20 "$work/app$side.log"
    continue
  fi
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "Ctrl+Q ended $side with status $status"
done

[ "$failed" -eq 0 ] && echo "every step held"
exit "$failed"
