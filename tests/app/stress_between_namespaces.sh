#!/usr/bin/env bash
# Two copies of the application in two network namespaces with every core
# kept busy: up to 200 changes (TAVRIN_STRESS_CHANGES sets another count)
# alternating sides, each a random gap of 50-400 ms after the previous one
# arrived, for at most 2 minutes of changes. A change waits for the previous
# one's arrival: changes crossing on the wire end on the dialler's text, so
# only changes made one after the other can each be checked to arrive. Every change must arrive byte for byte; the bytes the connection
# carried must be exactly the frames of the changes (no empty text, no echo,
# nothing else); both copies must still run. Prints the p50 and p95 of the
# propagation it saw. Exit 0 when all held, 1 on a failure, 77 (skipped)
# when it cannot run here.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
changes=${TAVRIN_STRESS_CHANGES:-200}
source "$(dirname "$0")/../e2e/two_copies.sh"

# One CPU hog per core, for as long as this script runs.
hogs=()
end_hogs() {
  for pid in "${hogs[@]}"; do end_ours "$pid"; done
  for pid in "${hogs[@]}"; do wait "$pid" 2>/dev/null; done
  hogs=()
}
trap 'end_hogs; cleanup' EXIT
for core in $(seq "$(nproc)"); do
  yes >/dev/null &
  hogs+=($!)
done

start_app A
start_app B
wait_for 60 "A listening" listening A
wait_for 60 "B listening" listening B

# Bytes the side's connection sent and the peer acknowledged.
sent_bytes() {
  on "$1" ss -tniH state established "( sport = :7582 or dport = :7582 )" |
    grep -o 'bytes_acked:[0-9]*' | head -1 | cut -d: -f2
}
# Waits until both counters hold still for a second; prints "A B".
settled_counters() {
  local before now
  before="$(sent_bytes A) $(sent_bytes B)"
  for look in $(seq 30); do
    sleep 1
    now="$(sent_bytes A) $(sent_bytes B)"
    [ "$now" = "$before" ] && { echo "$now"; return; }
    before=$now
  done
  echo "$now"
}

printf 'before the connection' >"$work/first"
copy_until_shown A "$work/first"
dial A "$addressB"
wait_for 30 "A's text on B (the dialler's push)" same_clipboard B "$work/first"
read -r sentA sentB < <(settled_counters)
sentA=${sentA:-0} sentB=${sentB:-0}

# A, the dialler, sends its own changes and sends back each text it takes
# from B; B sends its own changes. Each frame is 8 bytes and the text.
expectedA=0 expectedB=0
times=()
deadline=$((SECONDS + 120))
for i in $(seq 1 "$changes"); do
  [ $SECONDS -ge $deadline ] && break
  from=A to=B
  [ $((i % 2)) -eq 0 ] && from=B to=A
  {
    printf 'change %d from %s, gr\xc3\xbc\xc3\x9fe \xe2\x82\xac ' "$i" "$from"
    head -c $((RANDOM % 3000)) /dev/urandom | base64 -w 64
    [ $((i % 7)) -eq 0 ] && printf 'CASE ONLY'
  } >"$work/change"
  copy_until_shown "$from" "$work/change" || break
  start=$(date +%s%N)
  if ! wait_for 20 "change $i to reach $to" same_clipboard "$to" "$work/change"; then
    for side in A B; do echo "$side holds: \"$(clipboard_of $side | head -c 60)\""; done
    break
  fi
  times+=($((($(date +%s%N) - start) / 1000000)))
  frame=$((8 + $(stat -c %s "$work/change")))
  expectedA=$((expectedA + frame))
  [ "$from" = B ] && expectedB=$((expectedB + frame))
  sleep "$(printf '0.%03d' $((50 + RANDOM % 351)))"
done

count=${#times[@]}
echo "$count of $changes changes arrived byte for byte within the 2 minutes"
[ "$count" -gt 0 ] || fail "no change arrived"
running() { [ -e "/proc/$1" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null; }
for side in A B; do
  running "${appPid[$side]}" || fail "copy $side died (its log: $(tail -n 3 "$work/app$side.log"))"
done
read -r nowA nowB < <(settled_counters)
[ $((${nowA:-0} - sentA)) -eq "$expectedA" ] ||
  fail "A sent $((${nowA:-0} - sentA)) bytes, the changes' frames are $expectedA"
[ $((${nowB:-0} - sentB)) -eq "$expectedB" ] ||
  fail "B sent $((${nowB:-0} - sentB)) bytes, the changes' frames are $expectedB"

if [ "$count" -gt 0 ]; then
  sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  echo "propagation under load: p50 ${sorted[$((count / 2))]} ms, p95 ${sorted[$((count * 95 / 100))]} ms"
fi
[ "$failed" -eq 0 ] && echo "every step held"
exit "$failed"
