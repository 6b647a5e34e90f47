#!/usr/bin/env bash
# How closely the mosaics reproduce their template, with each of the matching and
# colour options, against the peer program metapixel on the same collection: for every
# case the mean CIE76 colour difference between the template and the mosaic, both
# reduced by area averaging to the tile grid (bench/aehnlichkeit_bench.cpp), and the
# median wall time of a warm run (signature cache or prepared tiles present).
#
#   bench/aehnlichkeit.sh [FOTOS] [LAEUFE]     (defaults 2000 and 3)
#
# All mosaics have 60 x 45 tiles of 40 x 33 pixels, a minimum distance of 2 and no
# template blended in. The peer's scale makes its result exactly 60 x 45 tiles, so both
# grids cover the template alike. Installs Debian's metapixel when it is missing.
# TILVENDO_BUILD chooses the build folder (default build/release); a folder that already
# holds the programs is used as it stands. VERGLEICH_ORDNER is the working folder.
set -euo pipefail
# The program's report and help are read in German, whatever the locale.
export LANGUAGE=de
cd "$(dirname "$0")/.."

ANZAHL="${1:-2000}"
LAEUFE="${2:-3}"
SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
# Not below /tmp: a RAM file system holds no albums.
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"
SPALTEN=60
ZEILEN=45
KACHEL_B=40
KACHEL_H=33
ABSTAND=2

# Name and options of each case. The cap trades likeness for variety (it has to use
# photos that suit less), so everything together is measured with and without it.
FAELLE=(
  "Standard|"
  "Wahrnehmung|--wahrnehmung"
  "Farbangleich 50 %|--farbangleich 50"
  "Farbangleich 100 %|--farbangleich 100"
  "Max. 3 Verwendungen|--max-verwendungen 3"
  "Zuschneiden|--zuschneiden"
  "Optimal + ignorieren|--methode optimal --muster ignorieren"
  "Alle ohne Deckel|--wahrnehmung --farbangleich 50 --zuschneiden"
  "Alle + Optimal|--wahrnehmung --farbangleich 50 --zuschneiden --methode optimal --muster ignorieren"
  "Alle zusammen|--wahrnehmung --farbangleich 50 --zuschneiden --max-verwendungen 3"
)

source bench/rechnen.sh
fehlende_installieren metapixel:metapixel metapixel-prepare:metapixel

if [ ! -x "$BAU/cli/tilvendo" ] || [ ! -x "$BAU/bench/aehnlichkeit_bench" ] ||
  [ ! -x "$BAU/cli/tilvendo-demo-sammlung" ]; then
  echo "== Baue tilvendo (Release) in $BAU"
  cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
    -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=ON >/dev/null
  cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung \
    aehnlichkeit_bench >/dev/null
fi
TILVENDO="$(realpath "$BAU/cli/tilvendo")"
MESSEN="$(realpath "$BAU/bench/aehnlichkeit_bench")"

source bench/sammlung.sh

# The peer scales the template and makes whole tiles of it; the largest scale at which
# the template fits into 60 x 45 tiles gives exactly that grid.
read -r BREITE HOEHE < <(python3 -c "import struct,sys
d=open(sys.argv[1],'rb').read(); i=2
while i<len(d):
  m=d[i+1]; l=struct.unpack('>H',d[i+2:i+4])[0]
  if m in (0xC0,0xC1,0xC2): h,w=struct.unpack('>HH',d[i+5:i+9]); print(w,h); break
  i+=2+l" "$VORLAGE")
SKALA=$(python3 -c "print(f'{min($SPALTEN*$KACHEL_B/$BREITE, $ZEILEN*$KACHEL_H/$HOEHE):.6f}')")

# Runs a command LAEUFE times after one untimed run (which fills caches) and prints the
# median wall time.
zeit() {
  "$@"
  local werte=()
  for ((i = 0; i < LAEUFE; i++)); do
    local start
    start=$(jetzt)
    "$@"
    werte+=("$(python3 -c "print(f'{$(jetzt)-$start:.3f}')")")
  done
  median "${werte[@]}"
}

ALBEN="$ARBEIT/alben-aehnlichkeit"
rm -rf "$ALBEN"
"$TILVENDO" --alben-pfad "$ALBEN" album anlegen Aehnlichkeit "$FOTOS" >/dev/null
unser() {
  # shellcheck disable=SC2086  # the options are split on purpose
  "$TILVENDO" --alben-pfad "$ALBEN" mosaik "$VORLAGE" "$ARBEIT/aehnlich.jpg" \
    --album Aehnlichkeit --kacheln "${SPALTEN}x$ZEILEN" --mindestabstand "$ABSTAND" \
    --einblenden 0 --seed 1 $1 >/dev/null 2>&1
}
peer() {
  metapixel --metapixel --library="$ARBEIT/peer-$ANZAHL" --width="$KACHEL_B" \
    --height="$KACHEL_H" --scale="$SKALA" --distance="$ABSTAND" "$VORLAGE" \
    "$ARBEIT/aehnlich-peer.jpg" >/dev/null 2>&1
}

echo "== Bereite die Kacheln des Vergleichsprogramms vor"
if [ ! -f "$ARBEIT/peer-$ANZAHL/.vollstaendig" ]; then
  rm -rf "$ARBEIT/peer-$ANZAHL"
  mkdir -p "$ARBEIT/peer-$ANZAHL"
  metapixel-prepare --width="$KACHEL_B" --height="$KACHEL_H" "$FOTOS" "$ARBEIT/peer-$ANZAHL" \
    >/dev/null 2>&1
  touch "$ARBEIT/peer-$ANZAHL/.vollstaendig"
fi
peer_zeit=$(zeit peer)
peer_abstand=$("$MESSEN" "$VORLAGE" "$ARBEIT/aehnlich-peer.jpg" "${SPALTEN}x$ZEILEN")

echo "== Messe ($LAEUFE Läufe je Fall; Vorlage $VORLAGE)"
HILFE="$("$TILVENDO" --help 2>&1 || true)"
zeilen=()
standard_zeit=""
for fall in "${FAELLE[@]}"; do
  name="${fall%%|*}"
  optionen="${fall#*|}"
  fehlt=""
  for wort in $optionen; do
    if [[ "$wort" == --* ]] && ! grep -q -- "$wort" <<<"$HILFE"; then fehlt="$wort"; fi
  done
  if [ -n "$fehlt" ]; then
    zeilen+=("$(printf '%-22s | %8s | %8s | %8s | %10s' "$name" "–" "–" "–" "($fehlt fehlt)")")
    continue
  fi
  t=$(zeit unser "$optionen")
  [ -n "$standard_zeit" ] || standard_zeit="$t"
  d=$("$MESSEN" "$VORLAGE" "$ARBEIT/aehnlich.jpg" "${SPALTEN}x$ZEILEN")
  zeilen+=("$(printf '%-22s | %8s | %8s | %8s | %10s' "$name" "$d" \
    "$(python3 -c "print(f'{$d/$peer_abstand:.2f}')")" "$t" \
    "$(python3 -c "print(f'{$t/$standard_zeit:.2f}')")")")
done

echo
echo "Sammlung: $ANZAHL Fotos; Mosaik: $SPALTEN x $ZEILEN Kacheln zu $KACHEL_B x $KACHEL_H Pixel"
echo "ΔE: mittlerer Farbabstand (CIE76) zur Vorlage im Kachelraster; Zeit: Median warmer Läufe"
printf '%-22s | %8s | %8s | %8s | %10s\n' "Fall" "ΔE" "÷ Peer" "Zeit (s)" "÷ Standard"
for z in "${zeilen[@]}"; do echo "$z"; done
printf '%-22s | %8s | %8s | %8s | %10s\n' "metapixel" "$peer_abstand" "1.00" "$peer_zeit" \
  "$(python3 -c "print(f'{$peer_zeit/$standard_zeit:.2f}')")"
