#!/usr/bin/env bash
# Runs a 32-bit program: directly where the kernel can, else through qemu's
# user-mode emulator.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  exec "$@"
fi
exec qemu-i386 "$@"
