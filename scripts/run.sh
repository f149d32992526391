#!/usr/bin/env bash
# Builds the program with its sample program folder and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if cmake --build build --target help | grep -q '^sample_folder'; then
  cmake --build build -j"$(nproc)" --target sample_folder
fi
exec build/program/LexoraApp "$@"
