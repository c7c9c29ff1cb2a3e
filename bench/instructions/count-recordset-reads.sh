#!/usr/bin/env bash
# Instructions per full read of 100,000 rows of three columns: a RecordSet
# of the built-in engine (MoveNext, StringValue, IntegerValue) against
# SQLite's step and column calls.
# Usage: count-recordset-reads.sh path/to/bench_RecordSetReads [short long]
set -euo pipefail
program=${1:?usage: count-recordset-reads.sh path/to/bench_RecordSetReads [short long]}
exec "$(dirname "$0")/count-benchmark-pair.sh" "$program" RECORDSET_BENCH_ITERATIONS \
  BM_RecordSet_ReadFields BM_SQLite_StepColumns "read of 100,000 rows" \
  "RecordSet fields / SQLite step and columns" "${2:-1}" "${3:-2}"
