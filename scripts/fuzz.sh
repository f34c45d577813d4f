#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds (default 30).
# Any crash, sanitizer finding or failed check fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
scripts/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DZUV_BUILD_FUZZ=ON \
  -DZUV_BUILD_GUI=OFF -DZUV_BUILD_TESTS=OFF -DZUV_WERROR=ON > build-fuzz.configure.log 2>&1 \
  || { cat build-fuzz.configure.log; exit 1; }
cmake --build build-fuzz -j"$(nproc)"
for fuzzer in build-fuzz/fuzz/*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus=build-fuzz/corpus/$name
  mkdir -p "$corpus"
  echo "fuzzing $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" samples \
    2>&1 | tail -n 15
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "$name found a fault"; exit 1; }
done
