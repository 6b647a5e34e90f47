#!/usr/bin/env bash
# Builds everything from clean and runs every test, in two builds:
# - the program as it is shipped (gcc, optimised), with the wizard and its tests;
# - everything below the wizard with clang's AddressSanitizer and UndefinedBehaviorSanitizer,
#   the same build holding the fuzzing targets of every file reader: its tests include the
#   stored inputs of the fuzzers, replayed, and then every reader is fuzzed a few seconds.
# Longer fuzzing: werkzeuge/fuzzen.sh SEKUNDEN.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
# Seconds of fuzzing per reader: enough to catch a reader that breaks on its first
# mutations, little enough for every check-in.
fuzz_sekunden=5

rm -rf build/test build/asan

# Without debug information, which would double the time the build takes and find nothing.
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O2" \
  -DTILVENDO_BENCH=OFF
cmake --build build/test -j "$jobs"
(cd build/test && ctest --output-on-failure -j "$jobs")

# -O1 with line tables builds quickly and still names file and line in every report.
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DCMAKE_CXX_COMPILER=clang++-14 \
  -DTILVENDO_FUZZ=ON -DTILVENDO_TESTS=ON
cmake --build build/asan -j "$jobs"
# What libraries keep until the end of a process is no leak of ours (tests/lsan.supp).
lsan_liste="$PWD/tests/lsan.supp"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$lsan_liste" \
  ctest --output-on-failure -j "$jobs")

TILVENDO_FUZZ_BUILD=build/asan bash werkzeuge/fuzzen.sh "$fuzz_sekunden"
