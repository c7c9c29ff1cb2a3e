#!/usr/bin/env bash
# Instructions per batch of the popup-rows pair (bench/PopupRows.cpp): a
# thousand rows added through AddRow and shown, against one
# gtk_combo_set_popdown_strings of the same thousand strings. Counted in
# qemu's user-mode emulator by the instruction-counting plug-in (times
# under the emulator are not evidence); the counted runs of each benchmark
# differ only in the number of batches, so start-up and set-up cancel out.
# Needs a display: run it under xvfb-run where there is none.
# Usage: count-popup-rows.sh path/to/bench_PopupRows [short long]
set -euo pipefail
program=${1:?usage: count-popup-rows.sh path/to/bench_PopupRows [short long]}
short=${2:-1}
long=${3:-2}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/counter.so" "$here/instruction-counter-plugin.c"
traced() {
  POPUP_BENCH_ITERATIONS=$2 qemu-i386 -plugin "$work/counter.so" -d plugin -D "$work/log" \
    "$program" --benchmark_filter="^$1/" >/dev/null 2>&1
  sed -n 's/^instructions //p' "$work/log"
}
declare -A per
for benchmark in BM_PopupAddRows BM_ComboSetPopdownStrings; do
  a=$(traced $benchmark "$short")
  b=$(traced $benchmark "$long")
  per[$benchmark]=$(((b - a) / (long - short)))
  printf '%-28s %11d instructions per batch of 1,000 rows\n' $benchmark "${per[$benchmark]}"
done
awk -v a="${per[BM_PopupAddRows]}" -v b="${per[BM_ComboSetPopdownStrings]}" \
  'BEGIN { printf "AddRow batch / one gtk_combo_set_popdown_strings: %.2fx\n", a / b }'
