#!/usr/bin/env bash
# Instructions per iteration of each side of a benchmark pair and their
# ratio. Counted in qemu's user-mode emulator by the instruction-counting
# plug-in (times under the emulator are not evidence); the two counted runs
# of each benchmark differ only in the number of iterations, which the
# benchmark reads from the named environment variable, so start-up and
# set-up cancel out. Needs a display where the benchmarks draw.
# Usage: count-benchmark-pair.sh PROGRAM ITERATIONS_VARIABLE BENCHMARK_A
#        BENCHMARK_B "UNIT" "RATIO LABEL" SHORT LONG
set -euo pipefail
program=$1 iterations=$2 first=$3 second=$4 unit=$5 label=$6 short=$7 long=$8
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/counter.so" "$here/instruction-counter-plugin.c"
counted() {
  env "$iterations=$2" qemu-i386 -plugin "$work/counter.so" -d plugin -D "$work/log" \
    "$program" --benchmark_filter="^$1/" >/dev/null 2>&1
  sed -n 's/^instructions //p' "$work/log"
}
declare -A per
for benchmark in "$first" "$second"; do
  a=$(counted "$benchmark" "$short")
  b=$(counted "$benchmark" "$long")
  per[$benchmark]=$(((b - a) / (long - short)))
  printf '%-32s %11d instructions per %s\n' "$benchmark" "${per[$benchmark]}" "$unit"
done
awk -v a="${per[$first]}" -v b="${per[$second]}" -v label="$label" \
  'BEGIN { printf "%s: %.2fx\n", label, a / b }'
