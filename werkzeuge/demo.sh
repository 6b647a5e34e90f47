#!/usr/bin/env bash
# Builds the program and makes the demo mosaic.
#
# From the wallpapers of Debian's mate-backgrounds and ukui-wallpapers (installed by
# werkzeuge/einrichten.sh) it makes a collection of about 800 varied photos, once, in
# the user's cache folder, creates a demo album over it, and computes a mosaic of
# 60 x 45 tiles of one of the wallpapers. A second call reuses the collection, the
# album and its signature cache and is much faster.
#
#   werkzeuge/demo.sh [AUSGABE.jpg]
#
# TILVENDO_BUILD chooses the build folder (default build/release).
set -euo pipefail
cd "$(dirname "$0")/.."

BAU="${TILVENDO_BUILD:-build/release}"
DEMO="${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/demo"
FOTOS="$DEMO/fotos"
ALBEN="$DEMO/Alben"
AUSGABE="${1:-$DEMO/demo-mosaik.jpg}"
ANZAHL=800
SEED=2024
ALBUM="Demo"
# The wallpaper that becomes the template, when present; else the first one found.
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"
# Marks a complete collection; a collection cut short by Ctrl+C is made anew.
FERTIG="$FOTOS/.vollstaendig-$ANZAHL-$SEED"

echo "== Baue tilvendo (Release) in $BAU"
cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
  -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=OFF >/dev/null
cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung
TILVENDO="$BAU/cli/tilvendo"

mapfile -t QUELLEN < <(dpkg -L mate-backgrounds ukui-wallpapers 2>/dev/null |
  grep -iE '\.jpe?g$' | sort -u | while read -r f; do [ -f "$f" ] && echo "$f"; done)
if [ ${#QUELLEN[@]} -eq 0 ]; then
  echo "Keine Hintergrundbilder gefunden. Bitte zuerst werkzeuge/einrichten.sh ausführen" \
    "(installiert mate-backgrounds und ukui-wallpapers)." >&2
  exit 1
fi

if [ ! -f "$FERTIG" ]; then
  echo "== Erzeuge die Demo-Sammlung ($ANZAHL Fotos) in $FOTOS"
  rm -rf "$FOTOS"
  "$BAU/cli/tilvendo-demo-sammlung" --ziel "$FOTOS" --anzahl "$ANZAHL" --seed "$SEED" \
    "${QUELLEN[@]}"
  touch "$FERTIG"
  # A new collection needs a new album.
  "$TILVENDO" --alben-pfad "$ALBEN" album loeschen "$ALBUM" >/dev/null 2>&1 || true
else
  echo "== Demo-Sammlung vorhanden: $FOTOS"
fi

if ! "$TILVENDO" --alben-pfad "$ALBEN" album zeigen "$ALBUM" >/dev/null 2>&1; then
  echo "== Lege das Album „$ALBUM“ an"
  "$TILVENDO" --alben-pfad "$ALBEN" album anlegen "$ALBUM" "$FOTOS"
fi

VORLAGE="$VORLAGE_WUNSCH"
[ -f "$VORLAGE" ] || VORLAGE="${QUELLEN[0]}"

echo "== Berechne das Mosaik aus $VORLAGE"
mkdir -p "$(dirname "$AUSGABE")"
"$TILVENDO" --alben-pfad "$ALBEN" mosaik "$VORLAGE" "$AUSGABE" --album "$ALBUM" \
  --kacheln 60x45 --seed 1 --bericht

echo
echo "Das Demo-Mosaik liegt hier: $(realpath "$AUSGABE")"
