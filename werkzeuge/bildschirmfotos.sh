#!/usr/bin/env bash
# Renders every page of the wizard, the help popup and the dialogs to PNG files, without
# a display, so that anyone can look at them: once in German into ZIELORDNER/de/, once in
# English into ZIELORDNER/en/.
#
#   werkzeuge/bildschirmfotos.sh ZIELORDNER
#
# TILVENDO_BUILD chooses the build folder (default build/bildschirmfotos, apart from the
# demo's, which is built without the wizard); the script configures it as a Release
# build of the wizard without tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ]; then
  echo "Aufruf: $0 ZIELORDNER" >&2
  exit 2
fi
ZIEL="$1"
BAU="${TILVENDO_BUILD:-build/bildschirmfotos}"

echo "== Baue die Bildschirmfotos (Release) in $BAU"
cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=ON -DTILVENDO_TESTS=OFF \
  -DTILVENDO_BENCH=OFF >/dev/null
cmake --build "$BAU" -j "$(nproc)" --target nubo-tilvendo-bildschirmfotos kataloge

for sprache in de en; do
  mkdir -p "$ZIEL/$sprache"
  # LANGUAGE is the first variable the program's choice of language reads.
  LANGUAGE=$sprache QT_QPA_PLATFORM=offscreen "$BAU/ui/nubo-tilvendo-bildschirmfotos" \
    "$ZIEL/$sprache"
done
echo "Die Bilder liegen in $(realpath "$ZIEL")/de und …/en"
