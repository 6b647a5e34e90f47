#!/bin/sh
# Peak memory (maximum resident set) of reading a 20000 × 20000 progressive JPEG and
# RLE8 bitmap, each as a template and as a tile photo.
# Usage: bench/grossbild_speicher.sh <path to grossbild_speicher_bench> [folder]
set -eu
bench=${1:?Pfad zu grossbild_speicher_bench}
ordner=${2:-$(mktemp -d)}
[ -f "$ordner/riesig.jpg" ] && [ -f "$ordner/riesig.bmp" ] || "$bench" erzeugen "$ordner"
ls -l "$ordner/riesig.jpg" "$ordner/riesig.bmp"
for datei in riesig.jpg riesig.bmp; do
  for art in vorlage kachel; do
    ausgabe=$(/usr/bin/time -f 'Spitze %M kB' "$bench" "$art" "$ordner/$datei" 2>&1)
    echo "$datei als $art: $(echo "$ausgabe" | tr '\n' ' ')"
  done
done
