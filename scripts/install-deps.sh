#!/usr/bin/env bash
# Installs what the build and the tests need, once: the i386 toolchain and
# libraries (GTK+ 2, the test frameworks) and the X tools that GUI tests drive.
# Does nothing when everything is already present.
set -euo pipefail

packages=(
  g++-multilib gcc-multilib cmake make pkg-config
  libgtk2.0-dev:i386 libgtest-dev:i386 libgmock-dev:i386 libbenchmark-dev:i386
  unicode-data xvfb xauth xclip xdotool qemu-user
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
