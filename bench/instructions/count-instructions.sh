#!/usr/bin/env bash
# Instructions per operation of each benchmark pair, counted by tracing every
# executed instruction in qemu's user-mode emulator. Unlike times under the
# emulator, these counts say what the operations cost natively (up to the
# differences between instructions). Usage: count-instructions.sh <opcount> ["operation ..."]
set -euo pipefail
opcount=${1:?usage: count-instructions.sh path/to/opcount}
short=1000
long=3000
log=$(mktemp)
trap 'rm -f "$log"' EXIT
traced() {
  qemu-i386 -singlestep -d exec,nochain -D "$log" "$opcount" "$1" "$2"
  grep -c '^Trace' "$log"
}
for operation in ${2:-$(qemu-i386 "$opcount")}; do
  a=$(traced "$operation" $short)
  b=$(traced "$operation" $long)
  printf '%-28s %8d instructions per operation\n' "$operation" $(((b - a) / (long - short)))
done
