#!/usr/bin/env bash
# Every decoder benchmark class in one run (protocol in protocol.sh), then the table of ratios
# against mpg123 and ffmpeg. Targets: <= 1.10 against mpg123 for every class, <= 1.0 for the
# Layer III classes, below 1 against ffmpeg for every class.
# Usage: bench/decoder/bench_all.sh [build-folder] [rounds]
set -euo pipefail
source "$(dirname "$0")/protocol.sh"

twolame_192() { twolame --quiet -b 192 -m s "$@"; }
make_stream "$work/l3-js128.mp3" 44100 2 lame -t --quiet -m j -b 128
make_stream "$work/l3-v2.mp3" 44100 2 lame -t --quiet -V 2
make_stream "$work/l3-mono32.mp3" 22050 1 lame -t --quiet -m m -b 32 --resample 22.05
make_stream "$work/layer2-600s.mp2" 44100 2 twolame_192

bench_stream "$work/l3-js128.mp3" "Layer III, 44.1 kHz joint stereo 128 kbit/s" 1.0 mp3float
bench_stream "$work/l3-v2.mp3" "Layer III, 44.1 kHz VBR -V2" 1.0 mp3float
bench_stream "$work/l3-mono32.mp3" "Layer III, 22.05 kHz mono 32 kbit/s" 1.0 mp3float
bench_stream "$work/layer2-600s.mp2" "Layer II, 44.1 kHz stereo 192 kbit/s" 1.10 mp2float
print_table
