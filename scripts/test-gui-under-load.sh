#!/usr/bin/env bash
# Runs the application, window, control, text and desktop test groups several
# times in a row (5 unless a count is given) with one CPU hog per core beside
# them, as a slow, loaded machine would. Stops at the first run that fails.
set -uo pipefail
build=${1:-build}
runs=${2:-5}
cd "$(dirname "$0")/.."

hogs=()
end_hogs() {
  for pid in "${hogs[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${hogs[@]}"; do wait "$pid" 2>/dev/null; done
}
trap end_hogs EXIT
for core in $(seq "$(nproc)"); do
  yes >/dev/null &
  hogs+=($!)
done

for run in $(seq "$runs"); do
  echo "== run $run of $runs under load"
  log="$build/under-load-$run.log"
  if ! scripts/run-tests.sh "$build" -L '^(app|windows|controls|text|desktop)$' >"$log" 2>&1; then
    grep -E '^\s*[0-9]+ - |\(Failed\)|\(Timeout\)' "$log"
    echo "run $run failed; its output is in $log"
    exit 1
  fi
  tail -n 1 "$log"
done
echo "all $runs runs passed under load"
