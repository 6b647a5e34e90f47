#!/usr/bin/env bash
# Decoding 100 HEIC photos: our reader (heif_bench) against the library's own program,
# heif-convert (package libheif-examples), on the same files; wall-clock and processor
# time of each whole run.
#   bench/heif_vergleich.sh BUILD_FOLDER [PHOTO_FOLDER]
# heif-convert also writes each picture: as Y4M, its cheapest output (the decoded planes,
# no colour conversion), and as PNG.
set -euo pipefail

bau="${1:?Aufruf: bench/heif_vergleich.sh BAUORDNER [FOTOORDNER]}"
export TILVENDO_HEIF_ORDNER="${2:-/tmp/tilvendo-heif}"
programm="$bau/bench/heif_bench"
zeiten="$(mktemp)"
ziel="$(mktemp -d)"
trap 'rm -rf "$ziel" "$zeiten"' EXIT
messen() {
  /usr/bin/time -a -o "$zeiten" -f "$1: %e s Uhrzeit, %U + %S s Prozessor" "${@:2}" > /dev/null 2>&1
}

"$programm" --benchmark_filter=keiner > /dev/null 2>&1 || true  # makes the photos once
messen "ganz gelesen" "$programm" --benchmark_filter=HeifGanz
messen "Kachel genau" "$programm" --benchmark_filter=HeifKachel/0
messen "Kachel schnell" "$programm" --benchmark_filter=HeifKachel/1
for endung in y4m png; do
  messen "heif-convert → $endung" bash -c \
    'for datei in "$1"/*.heic; do heif-convert "$datei" "$2" > /dev/null; done' \
    _ "$TILVENDO_HEIF_ORDNER" "$ziel/bild.$endung"
done
cat "$zeiten"
