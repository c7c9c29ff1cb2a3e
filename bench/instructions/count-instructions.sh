#!/usr/bin/env bash
# Instructions per operation of each benchmark pair, counted in qemu's
# user-mode emulator by a plug-in that adds up every executed instruction
# (instruction-counter-plugin.c, built here with the host's compiler).
# Unlike times under the emulator, these counts say what the operations cost
# natively (up to the differences between instructions). Usage:
# count-instructions.sh <opcount> ["operation ..."]. SHORT and LONG (1000
# and 3000) set the two run lengths whose difference is counted; operations
# of millions of instructions want fewer (for example 2 and 6).
set -euo pipefail
opcount=${1:?usage: count-instructions.sh path/to/opcount}
short=${SHORT:-1000}
long=${LONG:-3000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/counter.so" "$here/instruction-counter-plugin.c"
counted() {
  qemu-i386 -plugin "$work/counter.so" -d plugin -D "$work/log" "$opcount" "$1" "$2" >/dev/null
  sed -n 's/^instructions //p' "$work/log"
}
for operation in ${2:-$(qemu-i386 "$opcount")}; do
  a=$(counted "$operation" $short)
  b=$(counted "$operation" $long)
  printf '%-28s %10d instructions per operation\n' "$operation" $(((b - a) / (long - short)))
done
