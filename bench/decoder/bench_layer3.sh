#!/usr/bin/env bash
# Layer III decoder benchmark (protocol in protocol.sh). Streams (600 s each, made with sox and
# lame -t): 44.1 kHz joint stereo 128 kbit/s, VBR -V2 (44.1 kHz joint stereo), 22.05 kHz mono
# 32 kbit/s.
# Usage: bench/decoder/bench_layer3.sh [build-folder] [rounds]
set -euo pipefail
source "$(dirname "$0")/protocol.sh"

make_stream "$work/l3-js128.mp3" 44100 2 lame -t --quiet -m j -b 128
make_stream "$work/l3-v2.mp3" 44100 2 lame -t --quiet -V 2
make_stream "$work/l3-mono32.mp3" 22050 1 lame -t --quiet -m m -b 32 --resample 22.05

bench_stream "$work/l3-js128.mp3" "Layer III, 44.1 kHz joint stereo 128 kbit/s" 0.9 mp3float
bench_stream "$work/l3-v2.mp3" "Layer III, 44.1 kHz VBR -V2" 0.9 mp3float
bench_stream "$work/l3-mono32.mp3" "Layer III, 22.05 kHz mono 32 kbit/s" 0.9 mp3float
print_table
