#!/usr/bin/env bash
# Makes the Layer III test streams with lame (bare frames: -t) from sox and espeak-ng signals,
# and their references: mpg123 float output and, for a few, madplay 24-bit output.
# Usage: make_layer3_streams.sh <output folder>
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"
cd "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# name rate channels seconds lame-options signal
make() {
  local name=$1 rate=$2 channels=$3 seconds=$4 opts=$5 signal=$6
  local wav="$tmp/$name.wav"
  case $signal in
    # Two different channels: a sweep, and a square wave whose edges force short blocks.
    sweep-clicks) sox -R -V1 -n -r "$rate" -c 2 "$wav" synth "$seconds" sine 200-3000 square 5 gain -6 ;;
    # Correlated channels (the second at 0.9 of the first) so that the encoder codes middle/side:
    # clicks over a sweep, or noise bursts over a tone.
    joint-clicks) sox -R -V1 -n -r "$rate" -c 1 "$tmp/m.wav" synth "$seconds" square 4 synth "$seconds" \
                    sine mix 300-2500 gain -6 && sox -R -V1 "$tmp/m.wav" "$wav" remix 1v1 1v0.9 ;;
    joint-bursts) sox -R -V1 -n -r "$rate" -c 1 "$tmp/m.wav" synth "$seconds" pinknoise synth "$seconds" \
                    sine mix 330 tremolo 3 100 gain -6 && sox -R -V1 "$tmp/m.wav" "$wav" remix 1v1 1v0.9 ;;
    # Steady tones, one per channel.
    tones) sox -R -V1 -n -r "$rate" -c 2 "$wav" synth "$seconds" sine 440 sine 1250 gain -3 ;;
    # Noise bursts over a tone; channels differ.
    bursts) sox -R -V1 -n -r "$rate" -c 2 "$wav" synth "$seconds" pinknoise sine 330 \
              tremolo 3 100 gain -4 ;;
    # Loud material near full scale: clipping in the synthesis.
    loud) sox -R -V1 -n -r "$rate" -c 2 "$wav" synth "$seconds" square 110 sawtooth 173 gain -0.1 ;;
    mono-clicks) sox -R -V1 -n -r "$rate" -c 1 "$wav" synth "$seconds" square 4 synth "$seconds" sine mix \
                   300-2500 gain -6 ;;
    mono-noise) sox -R -V1 -n -r "$rate" -c 1 "$wav" synth "$seconds" whitenoise tremolo 5 90 gain -8 ;;
    speech) ;;  # see below
  esac
  if [[ $signal == speech ]]; then
    # A word's sound as the sample data makes it: espeak-ng straight into lame (22.05 kHz mono).
    # shellcheck disable=SC2086
    espeak-ng --stdout "Hello, this is a dictionary speaking." | lame -t --quiet $opts - "$name.mp3"
  else
    # shellcheck disable=SC2086
    lame -t --quiet $opts "$wav" "$name.mp3"
  fi
  mpg123 -q --no-gapless -e f32 -O "$name.f32" "$name.mp3"
}

make m44_js128_sweep   44100 2 2 "-m j -b 128" joint-clicks
make m44_st320_loud    44100 2 1 "-m s -b 320" loud
make m44_v0_bursts     44100 2 2 "-V 0" joint-bursts
make m48_st192_clicks  48000 2 2 "-m s -b 192" sweep-clicks
make m48_mono56_noise  48000 1 2 "-m m -b 56 --resample 48" mono-noise
make m32_js96_tones    32000 2 2 "-m j -b 96" tones
make m32_mono64_clicks 32000 1 2 "-m m -b 64" mono-clicks
make l22_js_v5_bursts  22050 2 2 "-V 5" joint-bursts
make l22_mono32_speech 22050 1 2 "-m m -b 32" speech
make l24_st64_clicks   24000 2 2 "-m s -b 64" sweep-clicks
make l24_js_v9_tones   24000 2 2 "-V 9 --resample 24" tones
make l16_mono8_noise   16000 1 2 "-m m -b 8 --resample 16" mono-noise
make l16_js160_clicks  16000 2 1 "-m j -b 160" joint-clicks

# A second reference for a few streams.
for name in m44_js128_sweep l22_js_v5_bursts m32_mono64_clicks; do
  madplay -Q -d -b 24 -o "raw:$name.s24" "$name.mp3"
done
touch stamp
