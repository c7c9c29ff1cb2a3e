#!/usr/bin/env bash
# Instructions per batch of the popup-rows pair (bench/PopupRows.cpp): a
# thousand rows added through AddRow and shown, against one
# gtk_combo_set_popdown_strings of the same thousand strings. Needs a
# display: run it under xvfb-run where there is none.
# Usage: count-popup-rows.sh path/to/bench_PopupRows [short long]
set -euo pipefail
program=${1:?usage: count-popup-rows.sh path/to/bench_PopupRows [short long]}
exec "$(dirname "$0")/count-benchmark-pair.sh" "$program" POPUP_BENCH_ITERATIONS \
  BM_PopupAddRows BM_ComboSetPopdownStrings "batch of 1,000 rows" \
  "AddRow batch / one gtk_combo_set_popdown_strings" "${2:-1}" "${3:-2}"
