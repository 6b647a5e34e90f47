#!/usr/bin/env bash
# Builds the program. The bundled demo mosaic comes with the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=OFF
cmake --build build/release -j "$(nproc)"
