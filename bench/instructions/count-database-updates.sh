#!/usr/bin/env bash
# Instructions per key-changing update near the end of tables of 10,000 and
# 100,000 rows, counted by tracing every executed instruction in qemu's
# user-mode emulator (times under the emulator are not evidence). The table
# is filled untraced; the traced runs differ only in the number of updates,
# so start-up, opening and closing cancel out.
# Usage: count-database-updates.sh path/to/dbupdatecount [short long]
set -euo pipefail
program=${1:?usage: count-database-updates.sh path/to/dbupdatecount}
short=${2:-100}
long=${3:-300}
file=$(mktemp)
trap 'rm -f "$file" "$file-journal"' EXIT
traced() {
  cp "$file.filled" "$file"
  qemu-i386 -singlestep -d exec,nochain -D /dev/stdout "$program" update "$file" "$1" "$2" | grep -c '^Trace'
}
for rows in 10000 100000; do
  qemu-i386 "$program" fill "$file.filled" "$rows"
  a=$(traced "$rows" "$short")
  b=$(traced "$rows" "$long")
  rm -f "$file.filled"
  printf '%7d rows: %8d instructions per key-changing update\n' "$rows" $(((b - a) / (long - short)))
done
