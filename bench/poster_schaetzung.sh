#!/usr/bin/env bash
# How close the save page's size estimate comes for posters: large-format runs of the
# generated photo collection, each estimated as the save page does (a sample of whole
# tiles at full size) and as the screen copy would tell it, then saved as JPEG at
# qualities 50 to 100 and as PNG and compared with the files
# (bench/schaetzung_bench.cpp).
#
#   bench/poster_schaetzung.sh [FOTOS]     (default 2000)
#
# TILVENDO_BUILD chooses the build folder (default build/release); a folder that already
# holds the programs is used as it stands. VERGLEICH_ORDNER is the working folder.
set -euo pipefail
cd "$(dirname "$0")/.."

ANZAHL="${1:-2000}"
SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
# Not below /tmp: a RAM file system holds no albums, and the files are large.
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"

# Poster size and tiles: tiles of 80, 100, 200 and 200 pixels.
FAELLE=("8000x6000 100x75" "6000x4500 60x45" "10000x7500 50x38" "20000x15000 100x75")

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

ALBEN="$ARBEIT/alben-poster-schaetzung"
AUSGABE="$ARBEIT/poster-schaetzung"
rm -rf "$ALBEN" "$AUSGABE"
mkdir -p "$AUSGABE"
"$TILVENDO" --alben-pfad "$ALBEN" album anlegen Poster "$FOTOS" >/dev/null

for fall in "${FAELLE[@]}"; do
  read -r groesse kacheln <<<"$fall"
  "$MESSEN" "$ALBEN" Poster "$VORLAGE" "$groesse" "$kacheln" "$AUSGABE"
done
rm -rf "$AUSGABE"
