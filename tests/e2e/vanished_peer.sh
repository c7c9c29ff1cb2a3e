#!/usr/bin/env bash
# A peer that vanishes without closing: A dials B, then B's link is cut and B
# ends while cut (nothing it sends can reach A, as after a power loss). A
# notices within 60 s and listens again; once the link is back, a new B dials
# A and a text travels. Exit 0 when every step held, 1 on a failure, 77
# (skipped) when it cannot run here.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
source "$(dirname "$0")/two_copies.sh"

start_app A
start_app B
wait_for 60 "A listening" listening A
wait_for 60 "B listening" listening B
dial A "$addressB"

ip -n "$nsB" link set "${tag}vb" down
end_ours "${appPid[B]}"
wait "${appPid[B]}" 2>/dev/null
cut=$SECONDS
connected A || fail "A lost the connection before any probe could tell"
if wait_for 60 "A listening again after B vanished" listening A; then
  echo "A listened again $((SECONDS - cut)) s after B vanished"
fi

ip -n "$nsB" link set "${tag}vb" up
start_app B
wait_for 60 "B listening" listening B
dial B "$addressA"
printf 'after the vanished peer' >"$work/again"
propagate A B "$work/again" "a text after B came back"

[ "$failed" -eq 0 ] && echo "every step held"
exit "$failed"
