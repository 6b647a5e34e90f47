#!/usr/bin/env bash
# A poster printed at home: 100 × 70 cm at 200 dpi from the 2,000-photo collection as one
# PDF of A4 sheets, beside the same poster as a JPEG. Prints, for each, the time and peak
# memory (maximum resident set, from /usr/bin/time) of the warm run and the size on disk,
# and for the PDF its pages and page size; renders one sheet to PNG.
#
#   bench/seiten.sh [BAU] [BLATT.png]     (defaults build/release and none)
#
# VERGLEICH_ORDNER chooses the working folder (the collection is shared with
# bench/zusammenstellen.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

BAU="${1:-${TILVENDO_BUILD:-build/release}}"
BLATT="${2:-}"
ANZAHL=2000
SEED=2024
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"
POSTER=(--kacheln 100x70 --druck 100x70cm --dpi 200 --papier fuellen --grossformat
  --mindestabstand 2 --seed 1)

source bench/rechnen.sh
fehlende_installieren cjpeg:libjpeg-turbo-progs pdfinfo:poppler-utils
if [ ! -x "$BAU/cli/tilvendo" ]; then
  echo "== Baue tilvendo (Release) in $BAU"
  cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
    -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=OFF >/dev/null
  cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung >/dev/null
fi
source bench/sammlung.sh
VORLAGE_1600=$(vorlage_1600)
# An album folder of its own: other measurements may hold theirs.
ALBEN="$ARBEIT/alben-seiten"
if ! "$BAU/cli/tilvendo" --alben-pfad "$ALBEN" album zeigen Seiten >/dev/null 2>&1; then
  rm -rf "$ALBEN"
  "$BAU/cli/tilvendo" --alben-pfad "$ALBEN" album anlegen Seiten "$FOTOS" >/dev/null
fi

# Makes ZIEL once; prints "SEKUNDEN KB".
lauf() {
  local ziel=$1
  shift
  if ! /usr/bin/time -f '%e %M' -o "$ARBEIT/zeit" "$BAU/cli/tilvendo" --alben-pfad "$ALBEN" \
    mosaik "$VORLAGE_1600" "$ziel" --album Seiten "${POSTER[@]}" "$@" \
    >"$ARBEIT/ausgabe.txt" 2>&1; then
    echo "Fehlgeschlagen: $ziel" >&2
    cat "$ARBEIT/ausgabe.txt" >&2
    exit 1
  fi
  tail -n 1 "$ARBEIT/zeit"
}

PDF="$ARBEIT/seiten.pdf"
JPEG="$ARBEIT/seiten.jpg"
lauf "$JPEG" >/dev/null  # warm: the signature cache and the file cache
read -r t_jpeg m_jpeg < <(lauf "$JPEG")
read -r t_pdf m_pdf < <(lauf "$PDF" --seiten A4)
tail -n 1 "$ARBEIT/ausgabe.txt"
seiten=$(pdfinfo "$PDF" | awk '/^Pages:/ {print $2}')
format=$(pdfinfo "$PDF" | sed -n 's/^Page size: *//p')
b_pdf=$(stat -c %s "$PDF")
b_jpeg=$(stat -c %s "$JPEG")

echo
echo "100 x 70 cm bei 200 dpi, $ANZAHL Fotos, 100 x 70 Kacheln, warm"
printf '%-22s | %9s | %12s | %10s\n' "Ausgabe" "Zeit (s)" "Spitze (MiB)" "Datei (MB)"
printf '%-22s | %9s | %12s | %10s\n' "JPEG (Qualität 90)" "$t_jpeg" "$(rechne "$m_jpeg/1024" 0)" \
  "$(rechne "$b_jpeg/1e6")"
printf '%-22s | %9s | %12s | %10s\n' "PDF, A4" "$t_pdf" "$(rechne "$m_pdf/1024" 0)" \
  "$(rechne "$b_pdf/1e6")"
echo "PDF: $seiten Seiten (mit dem Blatt zum Zusammensetzen), $format;" \
  "$(rechne "$b_pdf/$b_jpeg" 2) x so groß wie das JPEG"
if [ -n "$BLATT" ]; then
  # The second sheet of the first row, at the poster's resolution.
  pdftocairo -png -singlefile -r 200 -f 3 -l 3 "$PDF" "${BLATT%.png}"
  echo "Blatt A2: $BLATT"
fi
rm -f "$PDF" "$JPEG"
