#!/usr/bin/env bash
# A poster saved as a zoomable web page against the same poster saved as a JPEG: time,
# peak memory (maximum resident set, from /usr/bin/time), the number of tiles and what the
# page's folder takes on the disk.
#
#   bench/webseite.sh [FOTOS] [LAEUFE] [BREITExHOEHE]     (defaults 2000, 1 and 20000x15000)
#
# Mosaic: a 1600 × 1200 template in 100 × 75 tiles, JPEG quality 90 for the file and the
# tiles, minimum distance 2, warm signature cache. TILVENDO_BUILD chooses the build folder
# (default build/release); VERGLEICH_ORDNER the working folder.
set -euo pipefail
export LANGUAGE=de
cd "$(dirname "$0")/.."

ANZAHL="${1:-2000}"
LAEUFE="${2:-1}"
GROESSE="${3:-20000x15000}"
SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
# Not below /tmp: a RAM file system holds no albums, and the files are large.
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/webseite}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"

# TILVENDO_FERTIG=1 takes the programs already built in TILVENDO_BUILD as they are.
if [ "${TILVENDO_FERTIG:-0}" != 1 ]; then
  echo "== Baue tilvendo (Release) in $BAU"
  cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
    -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=OFF >/dev/null
  cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung >/dev/null
fi
TILVENDO="$(realpath "$BAU/cli/tilvendo")"

source bench/sammlung.sh
VORLAGE_1600=$(vorlage_1600)

messen() {  # seconds and peak kilobytes of one command, as "SEKUNDEN KB"
  if ! /usr/bin/time -f '%e %M' -o "$ARBEIT/zeit" "$@" >"$ARBEIT/ausgabe.txt" 2>&1; then
    echo "Fehlgeschlagen: $*" >&2
    cat "$ARBEIT/ausgabe.txt" >&2
    exit 1
  fi
  tail -n 1 "$ARBEIT/zeit"
}
lauf() {  # the run into $1
  messen "$TILVENDO" --alben-pfad "$ARBEIT/alben" mosaik "$VORLAGE_1600" "$1" --album Vergleich \
    --kacheln 100x75 --grossformat --groesse "$GROESSE" --qualitaet 90 --mindestabstand 2 \
    --seed 1
}

if ! "$TILVENDO" --alben-pfad "$ARBEIT/alben" album zeigen Vergleich >/dev/null 2>&1; then
  rm -rf "$ARBEIT/alben"
  "$TILVENDO" --alben-pfad "$ARBEIT/alben" album anlegen Vergleich "$FOTOS" >/dev/null
fi
lauf "$ARBEIT/warm.jpg" >/dev/null  # the signature cache is warm from here on
rm -f "$ARBEIT/warm.jpg"

echo "== $GROESSE, $LAEUFE Läufe je Ausgabe (Sekunden, Spitzenspeicher)"
for ((i = 1; i <= LAEUFE; i++)); do
  read -r jt jm < <(lauf "$ARBEIT/poster.jpg")
  read -r wt wm < <(lauf "$ARBEIT/poster.html")
  echo "JPEG:     ${jt} s, $((jm / 1024)) MiB"
  echo "Webseite: ${wt} s, $((wm / 1024)) MiB  (Verhältnis $(python3 -c "print(round($wt / $jt, 2))"))"
done
echo "JPEG-Datei:      $(du -sh "$ARBEIT/poster.jpg" | cut -f1)"
echo "Ordner der Seite: $(du -sh "$ARBEIT/poster_dateien" | cut -f1)," \
  "$(find "$ARBEIT/poster_dateien/kacheln" -name '*.jpg' | wc -l) Kacheln," \
  "$(ls "$ARBEIT/poster_dateien/kacheln" | grep -c '^[0-9]*$') Stufen"
