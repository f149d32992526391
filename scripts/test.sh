#!/usr/bin/env bash
# Builds and runs every test: plain, then with ASan+UBSan, then each fuzz target for a while.
set -euo pipefail
export CMAKE_COLOR_DIAGNOSTICS=OFF
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

echo "== code style (clang-format)"
git ls-files -- '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run -Werror

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" -LE x11 | tee build/ctest.log
echo "== tests that need an X server (Xvfb)"
xvfb-run -a ctest --test-dir build --output-on-failure -L x11 | tee build/ctest-x11.log

echo "== sample program folder"
cmake --build build -j"$jobs" --target sample_folder
build/data/sample/check_sample_folder build/program 4

echo "== sanitized build and tests (ASan+UBSan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEXORA_SANITIZE=ON -DLEXORA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE x11 | tee build-asan/ctest.log

echo "== fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLEXORA_FUZZ=ON -DLEXORA_TESTS=OFF -DLEXORA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzzers
tests/fuzz/run-fuzzers.sh build-fuzz "${LEXORA_FUZZ_SECONDS:-60}"

# One closing line over both test runs.
total=0; failed=0
for log in build/ctest.log build/ctest-x11.log build-asan/ctest.log; do
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  [[ -n "$line" ]] || continue
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$((total + t)); failed=$((failed + f))
done
echo "tests: $((total - failed)) passed, $failed failed"
