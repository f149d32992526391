#!/bin/sh
# Runs keystroke_bench on an X server of its own (Xvfb, 1280x800, 24 bits) and prints its
# figures: Enter to the painted article beside the typing figures.
# Usage: bench/app/keystroke_bench.sh [build folder]   (default: build)
set -eu
build=${1:-build}
exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" env QT_QPA_PLATFORM=xcb "$build/bench/app/keystroke_bench"
