#!/usr/bin/env bash
# Layer II decoder benchmark (protocol in protocol.sh): a 600-second stream, 44.1 kHz stereo
# 192 kbit/s, made with sox and twolame.
# Usage: bench/decoder/bench.sh [build-folder] [rounds]
set -euo pipefail
source "$(dirname "$0")/protocol.sh"

twolame_192() { twolame --quiet -b 192 -m s "$@"; }
make_stream "$work/layer2-600s.mp2" 44100 2 twolame_192
bench_stream "$work/layer2-600s.mp2" "Layer II, 44.1 kHz stereo 192 kbit/s" 1.0 mp2float
print_table
