#!/usr/bin/env bash
# Poster-sized mosaics, measured: the whole run against the peer program metapixel on
# the same collection, how time and memory grow with the size, and the writers alone
# against the libraries' own tools on the same pixels.
#
#   bench/grossformat.sh [FOTOS] [LAEUFE]     (defaults 2000 and 3)
#
# Mosaic: a 1600 × 1200 template in 100 × 75 tiles of 200 × 200 pixels, 20,000 × 15,000
# pixels written as JPEG at quality 90, minimum distance 2, warm caches (the album's
# signature cache, the peer's prepared tiles). Times and peak memory (maximum resident
# set) come from /usr/bin/time. Installs metapixel, netpbm (pnmtopng) and libtiff-tools
# (ppm2tiff) when they are missing. TILVENDO_BUILD chooses the build folder (default
# build/release); VERGLEICH_ORDNER the working folder.
set -euo pipefail
# The program's report and help are read in German, whatever the locale.
export LANGUAGE=de
cd "$(dirname "$0")/.."

ANZAHL="${1:-2000}"
LAEUFE="${2:-3}"
SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
# Not below /tmp: a RAM file system holds no albums, and the files are large.
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"
KACHELN="100x75"
KANTE=200
ABSTAND=2
QUALITAET=90
BREITEN=(5000 10000 20000 40000)

source bench/rechnen.sh
fehlende_installieren metapixel:metapixel pnmtopng:netpbm ppm2tiff:libtiff-tools \
  cjpeg:libjpeg-turbo-progs

echo "== Baue tilvendo (Release) in $BAU"
cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
  -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=ON >/dev/null
cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung \
  grossformat_schreiben_bench >/dev/null
TILVENDO="$(realpath "$BAU/cli/tilvendo")"
SCHREIBER="$(realpath "$BAU/bench/grossformat_schreiben_bench")"

source bench/sammlung.sh

VORLAGE_1600=$(vorlage_1600)

# Seconds and peak kilobytes of one command, as "SEKUNDEN KB"; its output goes to
# $ARBEIT/ausgabe.txt, shown when it fails.
messen() {
  if ! /usr/bin/time -f '%e %M' -o "$ARBEIT/zeit" "$@" >"$ARBEIT/ausgabe.txt" 2>&1; then
    echo "Fehlgeschlagen: $*" >&2
    cat "$ARBEIT/ausgabe.txt" >&2
    exit 1
  fi
  tail -n 1 "$ARBEIT/zeit"
}

unser() {  # BREITE HOEHE DATEI: the command in UNSER
  UNSER=("$TILVENDO" --alben-pfad "$ARBEIT/alben" mosaik "$VORLAGE_1600" "$3" --album Vergleich
    --kacheln "$KACHELN" --grossformat --groesse "$1x$2" --qualitaet "$QUALITAET"
    --mindestabstand "$ABSTAND" --seed 1 --bericht)
}
PEER=(metapixel --metapixel --library="$ARBEIT/peer-$KANTE" --width="$KANTE" --height="$KANTE"
  --scale=12.5 --distance="$ABSTAND" "$VORLAGE_1600" "$ARBEIT/peer.jpg")

echo "== Bereite vor: Album mit Signaturen, vorbereitete Kacheln des anderen Programms"
if [ ! -f "$ARBEIT/alben/Alben.nbx" ] || ! "$TILVENDO" --alben-pfad "$ARBEIT/alben" album zeigen Vergleich >/dev/null 2>&1; then
  rm -rf "$ARBEIT/alben"
  "$TILVENDO" --alben-pfad "$ARBEIT/alben" album anlegen Vergleich "$FOTOS" >/dev/null
fi
unser 20000 15000 "$ARBEIT/unser.jpg"
messen "${UNSER[@]}" >/dev/null  # now the cache is warm
if [ ! -d "$ARBEIT/peer-$KANTE" ]; then
  mkdir -p "$ARBEIT/peer-$KANTE"
  metapixel-prepare --width="$KANTE" --height="$KANTE" "$FOTOS" "$ARBEIT/peer-$KANTE" >/dev/null 2>&1
fi

echo "== Ganzer Lauf, 20000 x 15000 ($LAEUFE Läufe je Programm)"
unser_t=(); unser_m=(); peer_t=(); peer_m=()
unser 20000 15000 "$ARBEIT/unser.jpg"
for ((i = 0; i < LAEUFE; i++)); do
  read -r t m < <(messen "${UNSER[@]}"); unser_t+=("$t"); unser_m+=("$m")
  grep -E "Zusammenstellen des|erneut|Spitzenspeicher|gespeichert" "$ARBEIT/ausgabe.txt" || true
  read -r t m < <(messen "${PEER[@]}"); peer_t+=("$t"); peer_m+=("$m")
done
ut=$(median "${unser_t[@]}"); um=$(median "${unser_m[@]}")
pt=$(median "${peer_t[@]}"); pm=$(median "${peer_m[@]}")

echo "== Wachstum mit der Größe"
wachstum=()
for breite in "${BREITEN[@]}"; do
  hoehe=$((breite * 3 / 4))
  unser "$breite" "$hoehe" "$ARBEIT/wachstum.jpg"
  read -r t m < <(messen "${UNSER[@]}")
  groesse=$(grep -o 'gespeichert: .*(\([0-9]* x [0-9]*\) Pixel)' "$ARBEIT/ausgabe.txt" |
    sed 's/.*(\([0-9]*\) x \([0-9]*\) Pixel)/\1 \2/')
  wachstum+=("$groesse $t $m $(stat -c %s "$ARBEIT/wachstum.jpg")")
done
rm -f "$ARBEIT/wachstum.jpg"

echo "== Nur das Schreiben, auf denselben Pixeln"
djpeg "$ARBEIT/unser.jpg" >"$ARBEIT/pixel.ppm"
mkdir -p "$ARBEIT/schreiben"
schreiben=()
for format in jpeg png tiff; do
  # The same settings as ours: quality 90; zlib level 1; no compression.
  case $format in
    jpeg) name=cjpeg
      werkzeug=(cjpeg -quality "$QUALITAET" -outfile "$ARBEIT/schreiben/werkzeug.jpg" "$ARBEIT/pixel.ppm") ;;
    png) name=pnmtopng
      werkzeug=(sh -c "pnmtopng -compression 1 '$ARBEIT/pixel.ppm' >'$ARBEIT/schreiben/werkzeug.png'") ;;
    tiff) name=ppm2tiff
      werkzeug=(ppm2tiff -c none "$ARBEIT/pixel.ppm" "$ARBEIT/schreiben/werkzeug.tif") ;;
  esac
  unsere=(); fremde=()
  for ((i = 0; i < LAEUFE; i++)); do
    unsere+=("$("$SCHREIBER" "$ARBEIT/pixel.ppm" "$ARBEIT/schreiben" "$format" | awk '{print $2}')")
    read -r t _ < <(messen "${werkzeug[@]}"); fremde+=("$t")
    rm -f "$ARBEIT/schreiben/"*
  done
  schreiben+=("$format $(median "${unsere[@]}") $(median "${fremde[@]}") $name")
done
rm -rf "$ARBEIT/schreiben" "$ARBEIT/pixel.ppm"

echo
echo "Sammlung: $ANZAHL Fotos; Vorlage 1600 x 1200; $KACHELN Kacheln zu $KANTE x $KANTE; JPEG $QUALITAET"
printf '%-10s | %9s | %12s\n' "Programm" "Zeit (s)" "Spitze (MiB)"
printf '%-10s | %9s | %12s\n' "tilvendo" "$ut" "$(rechne "$um/1024" 0)"
printf '%-10s | %9s | %12s\n' "metapixel" "$pt" "$(rechne "$pm/1024" 0)"
echo "Anteil tilvendo / metapixel: $(rechne "$ut/$pt" 3) (Ziel höchstens 0,333); Einzelwerte" \
  "tilvendo ${unser_t[*]}, metapixel ${peer_t[*]}"
echo
printf '%-13s | %9s | %12s | %12s | %10s\n' "Größe" "Zeit (s)" "s je 100 MP" "Spitze (MiB)" \
  "Datei (MB)"
for zeile in "${wachstum[@]}"; do
  read -r b h t m g <<<"$zeile"
  printf '%-13s | %9s | %12s | %12s | %10s\n' "$b x $h" "$t" "$(rechne "$t/($b*$h/1e8)" 2)" \
    "$(rechne "$m/1024" 0)" "$(rechne "$g/1e6" 0)"
done
echo
printf '%-6s | %12s | %15s | %8s\n' "Format" "tilvendo (s)" "Werkzeug (s)" "Faktor"
for zeile in "${schreiben[@]}"; do
  read -r f u w n <<<"$zeile"
  printf '%-6s | %12s | %15s | %8s\n' "$f" "$u" "$w ($n)" "$(rechne "$u/$w" 2)"
done
