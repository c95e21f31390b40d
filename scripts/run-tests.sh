#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests: once as a plain build, once
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets' smoke runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize -j"$jobs" --output-on-failure

# Fuzz targets (clang's libFuzzer, with ASan and UBSan): a short smoke run each over the seeds
# and the kept regression inputs; --full runs each for 30 seconds.
smoke_seconds=10
[ "${1:-}" = "--full" ] && smoke_seconds=30
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_FUZZ=ON \
  -DTESSALY_FUZZ_SMOKE_SECONDS="$smoke_seconds" >/dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz --output-on-failure
