#!/usr/bin/env bash
# Builds and runs every test: plain, then with ASan+UBSan, then each fuzz target for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== sanitized build and tests (ASan+UBSan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEXORA_SANITIZE=ON -DLEXORA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLEXORA_FUZZ=ON -DLEXORA_TESTS=OFF -DLEXORA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzzers
tests/fuzz/run-fuzzers.sh build-fuzz "${LEXORA_FUZZ_SECONDS:-60}"
