#!/usr/bin/env bash
# How close the save preview's estimate of a file's size comes on real mosaics held whole:
# mosaics made from the generated photo collection with the template blended in as the
# wizard starts (25 %), estimated as the save page does and saved as JPEG at qualities 50
# to 100 and as PNG (bench/schaetzung_bench.cpp).
#
#   bench/groessen_schaetzung.sh [FOTOS]     (default 800)
#
# TILVENDO_BUILD chooses the build folder (default build/release); a folder that already
# holds the programs is used as it stands. VERGLEICH_ORDNER is the working folder.
set -euo pipefail
cd "$(dirname "$0")/.."

ANZAHL="${1:-800}"
SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
# Not below /tmp: a RAM file system holds no albums.
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"

# Result size and tiles of each mosaic: large and small tiles, the largest size the
# wizard makes, and a small mosaic that is measured whole.
FAELLE=("2400x1800 60x45" "2400x1800 120x90" "2500x1562 25x25" "2400x1800 30x20"
  "1200x900 40x30")

if [ ! -x "$BAU/cli/tilvendo" ] || [ ! -x "$BAU/bench/schaetzung_bench" ] ||
  [ ! -x "$BAU/cli/tilvendo-demo-sammlung" ]; then
  echo "== Baue tilvendo (Release) in $BAU"
  cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
    -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=ON >/dev/null
  cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung \
    schaetzung_bench >/dev/null
fi
TILVENDO="$(realpath "$BAU/cli/tilvendo")"
MESSEN="$(realpath "$BAU/bench/schaetzung_bench")"

source bench/sammlung.sh

ALBEN="$ARBEIT/alben-schaetzung"
rm -rf "$ALBEN"
"$TILVENDO" --alben-pfad "$ALBEN" album anlegen Schaetzung "$FOTOS" >/dev/null

AUSGABE="$ARBEIT/schaetzung"
mkdir -p "$AUSGABE"
for fall in "${FAELLE[@]}"; do
  read -r groesse kacheln <<<"$fall"
  "$MESSEN" "$ALBEN" Schaetzung "$VORLAGE" "$groesse" "$kacheln" "$AUSGABE" ganz
done
rm -rf "$AUSGABE"
