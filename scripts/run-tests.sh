#!/usr/bin/env bash
# Runs every registered test with CTest, under a virtual X server when there is
# no display, and ends with one line of real counts: "N passed, N failed".
# Arguments after the build folder go to CTest (e.g. -L windows).
set -uo pipefail
build=${1:-build}
shift $(($# > 0 ? 1 : 0))
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# TIME_FACTOR (set for sanitized builds) stretches the time-out of each test.
ctest_command=(ctest --test-dir "$build" --output-on-failure --timeout $((600 * ${TIME_FACTOR:-1})) -j"$(nproc)" "$@")
if [ -z "${DISPLAY:-}" ]; then
  # -noreset: by default the server resets whenever its last client leaves,
  # and a test connecting during that reset is refused. -r: no auto-repeat,
  # so that a key xdotool holds down while a loaded machine delays its
  # release is not typed again and again.
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset -r" "${ctest_command[@]}" 2>&1 | tee "$log"
else
  "${ctest_command[@]}" 2>&1 | tee "$log"
fi
status=${PIPESTATUS[0]}

summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
if [ -z "$summary" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")
echo "$((total - failed)) passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
