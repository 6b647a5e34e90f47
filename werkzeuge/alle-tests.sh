#!/usr/bin/env bash
# Builds everything from clean and runs every test: once as the program is shipped,
# once everything below the wizard with AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short fuzzing run of every file reader.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)

rm -rf build/test build/asan

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test -j "$jobs"
(cd build/test && ctest --output-on-failure -j "$jobs")

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTILVENDO_SANITIZE=ON \
  -DTILVENDO_UI=OFF -DTILVENDO_BENCH=OFF
cmake --build build/asan -j "$jobs"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$jobs")

# Twenty seconds per reader: long enough to catch a reader that breaks on its first
# mutations, short enough for every check-in. Longer runs: werkzeuge/fuzzen.sh SEKUNDEN.
bash werkzeuge/fuzzen.sh 20
