#!/usr/bin/env bash
# Starts the application: the runtime with its appended image. Until the
# application image exists, says so and stops after the build.
set -euo pipefail
build=${1:-build}
if [ -x "$build/bin/tavrin" ]; then
  exec "$(dirname "$0")/i386-launcher.sh" "$build/bin/tavrin" "${@:2}"
fi
echo "Built the runtime ($build/bin/runtime); the application image is not built yet, so there is nothing to start."
