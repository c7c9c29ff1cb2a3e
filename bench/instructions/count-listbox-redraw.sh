#!/usr/bin/env bash
# Instructions per redraw of the list box pair (bench/ListboxRedraw.cpp): a
# list of 100,000 rows scrolled to its middle against one of 30 rows, both
# drawn whole into an offscreen image. Needs a display: run it under
# xvfb-run where there is none.
# Usage: count-listbox-redraw.sh path/to/bench_ListboxRedraw [short long]
set -euo pipefail
program=${1:?usage: count-listbox-redraw.sh path/to/bench_ListboxRedraw [short long]}
exec "$(dirname "$0")/count-benchmark-pair.sh" "$program" LISTBOX_BENCH_ITERATIONS \
  BM_ListboxRedrawMiddleOf100000 BM_ListboxRedraw30Rows redraw \
  "100,000 rows at the middle / 30 rows" "${2:-2}" "${3:-6}"
