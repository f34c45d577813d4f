#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
# Usage: scripts/test.sh [--sanitize]   (--sanitize: AddressSanitizer + UBSan build in build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  scripts/build.sh build-asan -DZUV_SANITIZE=ON
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
else
  scripts/build.sh build -DZUV_BUILD_BENCH=ON
  ctest --test-dir build --output-on-failure -j"$(nproc)"
fi
