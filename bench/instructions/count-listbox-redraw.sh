#!/usr/bin/env bash
# Instructions per redraw of the list box pair (bench/ListboxRedraw.cpp): a
# list of 100,000 rows scrolled to its middle against one of 30 rows, both
# drawn whole into an offscreen image. Counted in qemu's user-mode emulator
# by the instruction-counting plug-in (times under the emulator are not
# evidence); the counted runs of each benchmark differ only in the number of
# redraws, so start-up and filling the list cancel out. Needs a display:
# run it under xvfb-run where there is none.
# Usage: count-listbox-redraw.sh path/to/bench_ListboxRedraw [short long]
set -euo pipefail
program=${1:?usage: count-listbox-redraw.sh path/to/bench_ListboxRedraw [short long]}
short=${2:-2}
long=${3:-6}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/counter.so" "$here/instruction-counter-plugin.c"
traced() {
  LISTBOX_BENCH_ITERATIONS=$2 qemu-i386 -plugin "$work/counter.so" -d plugin -D "$work/log" \
    "$program" --benchmark_filter="^$1/" >/dev/null 2>&1
  sed -n 's/^instructions //p' "$work/log"
}
declare -A per
for benchmark in BM_ListboxRedrawMiddleOf100000 BM_ListboxRedraw30Rows; do
  a=$(traced $benchmark "$short")
  b=$(traced $benchmark "$long")
  per[$benchmark]=$(((b - a) / (long - short)))
  printf '%-32s %11d instructions per redraw\n' $benchmark "${per[$benchmark]}"
done
awk -v a="${per[BM_ListboxRedrawMiddleOf100000]}" -v b="${per[BM_ListboxRedraw30Rows]}" \
  'BEGIN { printf "100,000 rows at the middle / 30 rows: %.2fx\n", a / b }'
