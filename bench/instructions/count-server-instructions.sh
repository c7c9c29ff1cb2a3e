#!/usr/bin/env bash
# The X server's share of the picture benchmark pairs: a private Xvfb runs
# under qemu's user-mode emulator for the host with the instruction-counting
# plug-in (instruction-counter-plugin.c) while one side of a pair runs
# against it; the difference between two run lengths, divided by the
# difference in runs, is what one call costs the server. Usage:
# count-server-instructions.sh <picturecount> ["operation ..."], SHORT and
# LONG as for count-instructions.sh (defaults 2 and 6).
set -euo pipefail
client=${1:?usage: count-server-instructions.sh path/to/picturecount}
short=${SHORT:-2}
long=${LONG:-6}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then kill "$server"; fi
  rm -rf "$work"
}
trap cleanup EXIT
cc -shared -fPIC -O2 -o "$work/counter.so" "$here/instruction-counter-plugin.c"
served() {
  rm -f "$work/log" "$work/display"
  mkfifo "$work/display"
  qemu-x86_64 -plugin "$work/counter.so" -d plugin -D "$work/log" "$(command -v Xvfb)" \
    -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  server=$!
  local display
  read -r display <"$work/display"
  DISPLAY=:$display qemu-i386 "$client" "$1" "$2"
  kill -TERM "$server"
  wait "$server" || true
  server=
  sed -n 's/^instructions //p' "$work/log"
}
for operation in ${2:-$(qemu-i386 "$client")}; do
  a=$(served "$operation" $short)
  b=$(served "$operation" $long)
  printf '%-28s %10d server instructions per operation\n' "$operation" $(((b - a) / (long - short)))
done
