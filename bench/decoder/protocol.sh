# The decoder benchmarks' shared protocol, sourced by bench.sh, bench_layer3.sh and bench_all.sh
# with the build folder and the number of rounds as $1 and $2: each stream is decoded into a
# WAVE file on /dev/shm with Sonarel (bench/decoder/sonarel_decode over the exported interface),
# with `mpg123 -q --no-gapless -w` (its default build) and with ffmpeg's float decoder (mp3float,
# mp2float; one thread), pinned to one core, interleaved over ROUNDS rounds after a warm-up.
# Times are CPU seconds (user + sys) of each process. Every class adds a line to the table that
# print_table prints at the end.
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build=${1:-build}
rounds=${2:-15}
core=${SONAREL_BENCH_CORE:-1}
seconds=600

cmake --build "$build" --target Sonarel sonarel_decode >/dev/null
lib=$(realpath "$build/program/libSonarel.so")
driver=$(realpath "$build/bench/decoder/sonarel_decode")

work=/dev/shm/sonarel-bench
mkdir -p "$work"
table=$work/table.txt
: >"$table"
command -v ffmpeg >/dev/null || { echo "ffmpeg is needed (apt-get install ffmpeg)"; exit 1; }

# Makes a test stream once: ${seconds} s of pink noise and a tone, encoded by the given command
# (called with the source WAVE file and the stream to write).
make_stream() {
  local out=$1 rate=$2 channels=$3
  shift 3
  if [[ ! -s $out ]]; then
    echo "making $(basename "$out")"
    sox -q -n -r "$rate" -c "$channels" -b 16 "$work/src.wav" synth $seconds pinknoise sine 330 gain -8
    "$@" "$work/src.wav" "$out"
    rm -f "$work/src.wav"
  fi
}

# CPU seconds (user + sys) of one command.
cpu() {
  local t
  t=$( { "$@" >/dev/null 2>&1; times; } | tail -n 1)
  awk '{ split($1, u, "m"); split($2, s, "m"); sub("s", "", u[2]); sub("s", "", s[2]);
         printf "%.3f\n", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' <<<"$t"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Times one stream: bench_stream STREAM LABEL TARGET FFMPEG-DECODER (TARGET: the ratio to mpg123
# aimed at).
bench_stream() {
  local stream=$1 label=$2 target=$3 ffdec=$4
  run_sonarel() { cpu taskset -c "$core" "$driver" "$lib" "$stream" "$work/sonarel.wav"; }
  run_mpg123() { cpu taskset -c "$core" mpg123 -q --no-gapless -w "$work/mpg123.wav" "$stream"; }
  run_ffmpeg() {
    cpu taskset -c "$core" ffmpeg -nostdin -v error -threads 1 -c:a "$ffdec" -i "$stream" -f wav -y "$work/ffmpeg.wav"
  }
  echo "== $label: warm-up"
  run_sonarel >/dev/null; run_mpg123 >/dev/null; run_ffmpeg >/dev/null
  echo "WAVE sizes: sonarel $(stat -c %s "$work/sonarel.wav") bytes, mpg123 $(stat -c %s "$work/mpg123.wav") bytes," \
    "ffmpeg $(stat -c %s "$work/ffmpeg.wav") bytes"
  local s=() m=() f=() r=() rf=() a b c i
  for ((i = 1; i <= rounds; i++)); do
    a=$(run_sonarel); b=$(run_mpg123); c=$(run_ffmpeg)
    s+=("$a"); m+=("$b"); f+=("$c")
    r+=("$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.4f", a / b }')")
    rf+=("$(awk -v a="$a" -v c="$c" 'BEGIN { printf "%.4f", a / c }')")
    printf 'round %2d: sonarel %6.3f s  mpg123 %6.3f s  ffmpeg %6.3f s\n' "$i" "$a" "$b" "$c"
  done
  local ms mm mf rr rrf
  ms=$(printf '%s\n' "${s[@]}" | median)
  mm=$(printf '%s\n' "${m[@]}" | median)
  mf=$(printf '%s\n' "${f[@]}" | median)
  rr=$(printf '%s\n' "${r[@]}" | median)
  rrf=$(printf '%s\n' "${rf[@]}" | median)
  echo "$label, ${seconds} s, ${rounds} rounds, core $core (CPU seconds, user+sys)"
  awk -v n=sonarel -v t="$ms" -v d=$seconds 'BEGIN { printf "%-16s median %7.3f s  realtime x%.1f\n", n, t, d / t }'
  awk -v n=mpg123 -v t="$mm" -v d=$seconds 'BEGIN { printf "%-16s median %7.3f s  realtime x%.1f\n", n, t, d / t }'
  awk -v n="ffmpeg $ffdec" -v t="$mf" -v d=$seconds 'BEGIN { printf "%-16s median %7.3f s  realtime x%.1f\n", n, t, d / t }'
  echo "median of per-round ratios: sonarel/mpg123 $rr (target <= $target), sonarel/ffmpeg $rrf (target < 1)"
  echo
  printf '%-46s %7.3f %7.3f %7.3f %8.3f %8.3f %6s\n' "$label" "$ms" "$mm" "$mf" "$rr" "$rrf" "$target" >>"$table"
}

# The table of the classes timed in this run.
print_table() {
  echo "CPU seconds (median), ratios (median of per-round ratios); ${seconds} s streams, core $core, $rounds rounds"
  printf '%-46s %7s %7s %7s %8s %8s %6s\n' class sonarel mpg123 ffmpeg "/mpg123" "/ffmpeg" target
  cat "$table"
}
