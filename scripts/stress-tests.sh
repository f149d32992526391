#!/usr/bin/env bash
# Runs the plain and the sanitized test suites (without the X11 tests) several rounds at twice
# as many jobs as cores while every core is kept busy, and lists each test that failed and how
# often. Exits non-zero when any test failed in any round.
#   scripts/stress-tests.sh [rounds]        (default 3; STRESS_JOBS overrides the job count)
# The build folders build/ and build-asan/ are used as they are; a missing one is configured
# first, and both are brought up to date before the rounds start. Each round's ctest output
# stays in build*/stress-round<n>.log.
set -euo pipefail
export CMAKE_COLOR_DIAGNOSTICS=OFF
cd "$(dirname "$0")/.."

rounds=${1:-3}
if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [rounds]" >&2
  exit 2
fi
cores=$(nproc)
jobs=${STRESS_JOBS:-$((2 * cores))}

echo "== building the plain and the sanitized suites"
if [[ ! -f build/CMakeCache.txt ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
if [[ ! -f build-asan/CMakeCache.txt ]]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEXORA_SANITIZE=ON -DLEXORA_BENCH=OFF >/dev/null
fi
cmake --build build -j"$cores"
cmake --build build-asan -j"$cores"

logs=$(mktemp -d "${TMPDIR:-/tmp}/lexora-stress.XXXXXX")
load_pids=()
stop_load() {
  local pid
  for pid in "${load_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${load_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  load_pids=()
}
trap 'stop_load; rm -rf "$logs"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# One busy loop per core, for as long as the rounds run.
for ((i = 0; i < cores; ++i)); do
  bash -c 'while :; do :; done' &
  load_pids+=($!)
done
echo "== $rounds rounds at $jobs jobs, $cores busy loops beside them"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for ((round = 1; round <= rounds; ++round)); do
  for suite in build build-asan; do
    log="$suite/stress-round$round.log"
    start=$SECONDS
    if ctest --test-dir "$suite" --output-on-failure -j"$jobs" -LE x11 --timeout 600 >"$log" 2>&1; then
      result=passed
    else
      result=FAILED
      status=1
    fi
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -n1 || true)
    echo "round $round, $suite: $result in $((SECONDS - start)) s: ${summary:-no summary (see below)}"
    if [[ -z "$summary" ]]; then
      tail -n 20 "$log"
      status=1
    fi
    # ctest's list: "    123 - Suite.Name (Failed)"; each line counts once per suite.
    sed -n '/The following tests FAILED:/,$p' "$log" | grep -E '^[[:space:]]+[0-9]+ - ' |
      sed -E "s/^[[:space:]]+[0-9]+ - (.*) \((.*)\)[[:space:]]*$/$suite \1 (\2)/" >>"$logs/failures" || true
  done
done
stop_load

echo "== failures over $rounds rounds"
if [[ -s "$logs/failures" ]]; then
  sed -E 's/ \((.*)\)$//' "$logs/failures" | sort | uniq -c | sort -rn |
    awk '{ printf "%4d x %-10s %s\n", $1, $2, $3 }'
  status=1
  echo "(their output: build*/stress-round*.log)"
else
  echo "none"
fi
exit "$status"
