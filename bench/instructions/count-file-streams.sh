#!/usr/bin/env bash
# Instructions per pass of the two file-stream pairs (bench/FileStreams.cpp):
# TextInputStream.ReadLine over 50 MB of 80-byte lines against std::getline,
# and BinaryStream's big-endian ReadLong over 16 MB against fread with
# __builtin_bswap32. Each pass opens the file, reads all of it and closes it.
# Usage: count-file-streams.sh path/to/bench_FileStreams [short long]
set -euo pipefail
program=${1:?usage: count-file-streams.sh path/to/bench_FileStreams [short long]}
short=${2:-1} long=${3:-2}
pair() {
  "$(dirname "$0")/count-benchmark-pair.sh" "$program" FILE_STREAMS_BENCH_ITERATIONS "$@" \
    "$short" "$long"
}
pair BM_TextInputStreamReadLine BM_StdGetline "pass over 50 MB" "ReadLine / std::getline"
pair BM_BinaryStreamReadLong BM_FreadBswap32 "pass over 16 MB" "ReadLong / fread + bswap32"
