#!/usr/bin/env bash
# Compares tilvendo end to end with the peer program metapixel on the same generated
# collection: cold (collection never seen: album created / tiles prepared, then the
# mosaic) and warm (the signature cache / prepared tiles exist, only the mosaic), each
# run several times; prints the medians and the ratio peer / ours.
#
#   bench/peer_vergleich.sh [FOTOS] [LAEUFE]     (defaults 800 and 5)
#
# Both make a mosaic of 60 x 45 tiles of 40 x 33 pixels (2400 x about 1490 pixels) from
# the same template with a minimum distance of 2 between equal tiles, written as JPEG.
# Installs Debian's metapixel when it is missing. TILVENDO_BUILD chooses the build
# folder (default build/release); VERGLEICH_ORDNER the working folder.
set -euo pipefail
cd "$(dirname "$0")/.."

ANZAHL="${1:-800}"
LAEUFE="${2:-5}"
SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
# Not below /tmp: a RAM file system holds no albums.
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"
KACHEL_B=40
KACHEL_H=33
KACHELN="60x45"
ABSTAND=2

source bench/rechnen.sh
fehlende_installieren metapixel:metapixel metapixel-prepare:metapixel

echo "== Baue tilvendo (Release) in $BAU"
cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
  -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=OFF >/dev/null
cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung >/dev/null
TILVENDO="$(realpath "$BAU/cli/tilvendo")"

source bench/sammlung.sh

# The scale that makes the peer's result as wide as ours: our result is 60 tiles of
# 40 pixels, cut from a template whose width the peer scales.
BREITE=$(python3 -c "import struct,sys
d=open(sys.argv[1],'rb').read(); i=2
while i<len(d):
  m=d[i+1]; l=struct.unpack('>H',d[i+2:i+4])[0]
  if m in (0xC0,0xC1,0xC2): print(struct.unpack('>H',d[i+7:i+9])[0]); break
  i+=2+l" "$VORLAGE")
SKALA=$(python3 -c "print(f'{60*$KACHEL_B/$BREITE:.6f}')")

dauer() { python3 -c "print(f'{$2-$1:.3f}')"; }

unser_kalt() {
  rm -rf "$ARBEIT/alben"
  "$TILVENDO" --alben-pfad "$ARBEIT/alben" album anlegen Vergleich "$FOTOS" >/dev/null
  "$TILVENDO" --alben-pfad "$ARBEIT/alben" mosaik "$VORLAGE" "$ARBEIT/unser.jpg" \
    --album Vergleich --kacheln "$KACHELN" --mindestabstand "$ABSTAND" --seed 1 2>/dev/null >/dev/null
}
unser_warm() {
  "$TILVENDO" --alben-pfad "$ARBEIT/alben" mosaik "$VORLAGE" "$ARBEIT/unser.jpg" \
    --album Vergleich --kacheln "$KACHELN" --mindestabstand "$ABSTAND" --seed 1 2>/dev/null >/dev/null
}
peer_kalt() {
  rm -rf "$ARBEIT/peer"
  mkdir -p "$ARBEIT/peer"
  metapixel-prepare --width="$KACHEL_B" --height="$KACHEL_H" "$FOTOS" "$ARBEIT/peer" >/dev/null 2>&1
  peer_warm
}
peer_warm() {
  metapixel --metapixel --library="$ARBEIT/peer" --width="$KACHEL_B" --height="$KACHEL_H" \
    --scale="$SKALA" --distance="$ABSTAND" "$VORLAGE" "$ARBEIT/peer.jpg" >/dev/null 2>&1
}

messen() {
  local -n werte=$1
  local befehl=$2
  for ((i = 0; i < LAEUFE; i++)); do
    local start ende
    start=$(jetzt)
    "$befehl"
    ende=$(jetzt)
    werte+=("$(dauer "$start" "$ende")")
  done
}

echo "== Messe ($LAEUFE Läufe je Fall; Vorlage $VORLAGE)"
unser_kalt_t=(); unser_warm_t=(); peer_kalt_t=(); peer_warm_t=()
messen unser_kalt_t unser_kalt
messen unser_warm_t unser_warm
messen peer_kalt_t peer_kalt
messen peer_warm_t peer_warm

uk=$(median "${unser_kalt_t[@]}"); uw=$(median "${unser_warm_t[@]}")
pk=$(median "${peer_kalt_t[@]}"); pw=$(median "${peer_warm_t[@]}")
echo
echo "Sammlung: $ANZAHL Fotos; Mosaik: 60 x 45 Kacheln zu ${KACHEL_B} x ${KACHEL_H} Pixel"
printf '%-6s | %12s | %12s | %17s\n' "Fall" "tilvendo (s)" "metapixel (s)" "metapixel/tilvendo"
printf '%-6s | %12s | %12s | %17s\n' "kalt" "$uk" "$pk" "$(python3 -c "print(f'{$pk/$uk:.1f}')")"
printf '%-6s | %12s | %12s | %17s\n' "warm" "$uw" "$pw" "$(python3 -c "print(f'{$pw/$uw:.1f}')")"
echo "(Mediane; Einzelwerte tilvendo kalt ${unser_kalt_t[*]}, warm ${unser_warm_t[*]};" \
  "metapixel kalt ${peer_kalt_t[*]}, warm ${peer_warm_t[*]})"
