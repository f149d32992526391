#!/usr/bin/env bash
# Every decoder benchmark class in one run (protocol in protocol.sh), then the table of ratios
# against mpg123 and ffmpeg. Targets against mpg123: <= 0.9 for the Layer III classes, <= 1.0 for
# the Layer II and Layer I classes; below 1 against ffmpeg for every class. Layer II streams are
# made by twolame, Layer III streams by lame, Layer I streams (no encoder at hand) by the
# project's layer1gen: legal frames of random content.
# Usage: bench/decoder/bench_all.sh [build-folder] [rounds]
set -euo pipefail
source "$(dirname "$0")/protocol.sh"

cmake --build "$build" --target layer1gen >/dev/null
layer1gen=$(realpath "$build/tests/decoder/layer1gen")

# make_layer1 STREAM RATE-INDEX (0 44.1 kHz, 1 48 kHz) FRAMES: stereo, 384 kbit/s.
make_layer1() {
  if [[ ! -s $1 ]]; then
    echo "making $(basename "$1")"
    "$layer1gen" "$1" 1 "$2" 12 0 0 "$3" 1
  fi
}

twolame_192s() { twolame --quiet -b 192 -m s "$@"; }
twolame_128j() { twolame --quiet -b 128 -m j "$@"; }
twolame_96m() { twolame --quiet -b 96 -m m "$@"; }
make_stream "$work/l3-js128.mp3" 44100 2 lame -t --quiet -m j -b 128
make_stream "$work/l3-v2.mp3" 44100 2 lame -t --quiet -V 2
make_stream "$work/l3-mono32.mp3" 22050 1 lame -t --quiet -m m -b 32 --resample 22.05
make_stream "$work/layer2-600s.mp2" 44100 2 twolame_192s
make_stream "$work/l2-48k-s192.mp2" 48000 2 twolame_192s
make_stream "$work/l2-32k-j128.mp2" 32000 2 twolame_128j
make_stream "$work/l2-44k-m96.mp2" 44100 1 twolame_96m
make_layer1 "$work/l1-44k-s384.mp1" 0 $((seconds * 44100 / 384))
make_layer1 "$work/l1-48k-s384.mp1" 1 $((seconds * 48000 / 384))

bench_stream "$work/l3-js128.mp3" "Layer III, 44.1 kHz joint stereo 128 kbit/s" 0.9 mp3float
bench_stream "$work/l3-v2.mp3" "Layer III, 44.1 kHz VBR -V2" 0.9 mp3float
bench_stream "$work/l3-mono32.mp3" "Layer III, 22.05 kHz mono 32 kbit/s" 0.9 mp3float
bench_stream "$work/layer2-600s.mp2" "Layer II, 44.1 kHz stereo 192 kbit/s" 1.0 mp2float
bench_stream "$work/l2-48k-s192.mp2" "Layer II, 48 kHz stereo 192 kbit/s" 1.0 mp2float
bench_stream "$work/l2-32k-j128.mp2" "Layer II, 32 kHz joint stereo 128 kbit/s" 1.0 mp2float
bench_stream "$work/l2-44k-m96.mp2" "Layer II, 44.1 kHz mono 96 kbit/s" 1.0 mp2float
bench_stream "$work/l1-44k-s384.mp1" "Layer I, 44.1 kHz stereo 384 kbit/s" 1.0 mp1float
bench_stream "$work/l1-48k-s384.mp1" "Layer I, 48 kHz stereo 384 kbit/s" 1.0 mp1float
print_table
