#!/usr/bin/env bash
# Makes the test streams as encoders hand them out (tags, Info and Xing frames, MPEG 2.5) with
# lame from sox signals, and their mpg123 float references.
# Usage: make_world_streams.sh <output folder>
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"
cd "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sox -R -V1 -n -r 44100 -c 2 "$tmp/s3.wav" synth 3 sine 200-3000 pinknoise tremolo 3 100 gain -6
sox -R -V1 -n -r 44100 -c 2 "$tmp/s10.wav" synth 10 pinknoise sine 330 tremolo 2 100 gain -6
sox -R -V1 -n -r 8000 -c 1 "$tmp/s8k.wav" synth 1 sine 440 gain -6

# An ID3v2 tag with UTF-16 text (its byte-order mark FF FE looks like a sync word) and no
# padding, then an Info frame.
lame --quiet -b 128 --id3v2-only --id3v2-utf16 --tt "Tïtle ÿþ" --ta "Ärtist" "$tmp/s3.wav" tag_utf16.mp3
# The same with 128 bytes of padding in the tag.
lame --quiet -b 128 --id3v2-only --id3v2-utf16 --pad-id3v2 --tt "Tïtle ÿþ" "$tmp/s3.wav" tag_padded.mp3
# An Info frame at the start and an ID3v1 tag at the end.
lame --quiet -b 96 --id3v1-only --tt "ÿûÿû title" --ta "artist" "$tmp/s3.wav" tag_v1.mp3
# Variable bit rate: a Xing frame with the frame count and the table of contents.
lame --quiet -V 2 "$tmp/s10.wav" vbr_v2.mp3
# The same frames without the Xing frame.
lame --quiet -t -V 2 "$tmp/s10.wav" vbr_v2_bare.mp3
# MPEG 2.5 (8 kHz): refused.
lame --quiet -t -b 16 -m m "$tmp/s8k.wav" mpeg25.mp3

for f in tag_utf16 tag_padded tag_v1 vbr_v2 vbr_v2_bare; do
  mpg123 -q --no-gapless -e f32 -O "$f.f32" "$f.mp3"
done
touch stamp
