#!/usr/bin/env bash
# The wizard with a 20,000 × 15,000 poster of the 2,000-photo benchmark collection: the
# run, the result page, the slider, the magnifier's full-resolution view and the save,
# with the process's peak memory after each (bench/poster_assistent.cpp).
#
#   bench/poster_assistent.sh
#
# TILVENDO_BUILD chooses the build folder (default build/release, a Release build with
# the wizard and the benchmarks); VERGLEICH_ORDNER the working folder.
set -euo pipefail
cd "$(dirname "$0")/.."

ANZAHL=2000
SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"

echo "== Baue (Release) in $BAU"
cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=ON \
  -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=ON >/dev/null
cmake --build "$BAU" -j "$(nproc)" --target poster_assistent tilvendo-demo-sammlung >/dev/null

source bench/sammlung.sh

# The 1600 × 1200 template of bench/grossformat.sh gives exactly 20,000 × 15,000 pixels in
# 100 × 75 tiles; another template a little less, snapped to whole tiles.
if [ -f "$ARBEIT/vorlage-1600.jpg" ]; then
  VORLAGE="$ARBEIT/vorlage-1600.jpg"
else
  echo "(Ohne $ARBEIT/vorlage-1600.jpg aus bench/grossformat.sh: Vorlage $VORLAGE)"
fi

POSTER="$ARBEIT/poster-assistent"
rm -rf "$POSTER"
mkdir -p "$POSTER"
# Once to warm the file cache with the photos, as a user's second look would find it.
cat "$FOTOS"/*.jpg >/dev/null
QT_QPA_PLATFORM=offscreen /usr/bin/time -f 'Spitze des Prozesses: %M kB' \
  "$BAU/bench/poster_assistent" "$FOTOS" "$VORLAGE" "$POSTER"
ls -l "$POSTER/poster.jpg"
rm -rf "$POSTER"
