#!/usr/bin/env bash
# Configures and builds into a build folder. Usage: scripts/build.sh [BUILD_DIR [CMAKE_ARGS...]]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${1:-build}
shift || true
cmake -S . -B "$build" -G Ninja -DZUV_WERROR=ON -DZUV_BUILD_GUI=ON -DZUV_BUILD_TESTS=ON "$@" > "$build.configure.log" 2>&1 \
  || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)"
