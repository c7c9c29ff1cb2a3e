#!/usr/bin/env bash
# Installs what the build and the tests need, once: the i386 toolchain and
# libraries (GTK+ 2, the test frameworks) and the X tools that GUI tests drive.
# Does nothing when everything is already present.
set -euo pipefail

packages=(
  g++-multilib gcc-multilib cmake make pkg-config
  libgtk2.0-dev:i386 libgtest-dev:i386 libgmock-dev:i386 libbenchmark-dev:i386 libsqlite3-dev:i386
  libsndfile1:i386 libasound2:i386
  unicode-data xvfb xauth xclip xdotool qemu-user locales poppler-utils
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# Number and date text must not follow the user's locale; tests prove it under
# a German one, which has a comma for a decimal point.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$' && return 0
  $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_test_locale
  exit 0
fi

echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
ensure_test_locale
