#!/usr/bin/env bash
# Instructions of a line entry that does not stop against a call of an empty
# function (bench/DebuggerEntry.cpp), counted under the emulator.
set -euo pipefail
program=${1:?usage: count-debugger-entry.sh path/to/bench_DebuggerEntry [short long]}
exec "$(dirname "$0")/count-benchmark-pair.sh" "$program" DEBUGGER_BENCH_ITERATIONS \
  BM_LineEntryThatDoesNotStop BM_EmptyFunctionCall "line" \
  "line entry that does not stop / empty function call" "${2:-100000}" "${3:-300000}"
