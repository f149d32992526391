#!/usr/bin/env bash
# Runs every built fuzz target in parallel for the given seconds; fails when any finds a fault.
set -euo pipefail
build=${1:?build folder}; seconds=${2:-60}
build=$(cd "$build" && pwd)
dir="$build/tests/fuzz"
shopt -s nullglob
pids=(); names=()
for bin in "$dir"/fuzz_*; do
  [[ -x "$bin" && -f "$bin" ]] || continue
  name=${bin##*/fuzz_}
  corpus="$build/corpus/$name"; mkdir -p "$corpus"
  [[ -x "$dir/seeds_$name" ]] && "$dir/seeds_$name" "$corpus"
  echo "fuzzing $name for ${seconds}s"
  (cd "$build" && "$bin" -max_total_time="$seconds" -seed="${LEXORA_FUZZ_SEED:-1}" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 "corpus/$name" > "fuzz-$name.log" 2>&1) &
  pids+=($!); names+=("$name")
done
status=0
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then
    echo "fuzz ${names[$i]}: no finding ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-${names[$i]}.log" || true))"
  else
    echo "fuzz ${names[$i]}: FAILED"; tail -n 60 "$build/fuzz-${names[$i]}.log"; status=1
  fi
done
exit $status
