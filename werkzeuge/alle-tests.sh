#!/usr/bin/env bash
# Builds everything from clean in build/test and runs every test, in one build: clang
# with AddressSanitizer and UndefinedBehaviorSanitizer on all of it, the wizard and its Qt
# tests included, the same build holding the fuzzing targets of every file reader. Its
# tests replay the fuzzers' stored inputs; then every reader is fuzzed a few seconds, two
# at a time (werkzeuge/fuzzen.sh). Longer fuzzing: werkzeuge/fuzzen.sh SEKUNDEN.
# The program as shipped (gcc, optimised) is built by werkzeuge/demo.sh and the README's
# release commands, not here.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
# Seconds of fuzzing per reader: enough to catch a reader that breaks on its first
# mutations, little enough for every check-in.
fuzz_sekunden=5

rm -rf build/test

# -O1 with line tables builds quickly and still names file and line in every report;
# lld links the sanitized programs in a fraction of the time of the default linker.
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld" \
  -DTILVENDO_FUZZ=ON -DTILVENDO_TESTS=ON -DTILVENDO_UI=ON -DTILVENDO_BENCH=OFF
cmake --build build/test -j "$jobs"
# What libraries keep until the end of a process is no leak of ours (tests/lsan.supp).
lsan_liste="$PWD/tests/lsan.supp"
(cd build/test && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$lsan_liste" \
  ctest --output-on-failure -j "$jobs")

TILVENDO_FUZZ_BUILD=build/test bash werkzeuge/fuzzen.sh "$fuzz_sekunden"
