#!/bin/sh
# Peak memory of one save of the 6000 × 4500 mosaic, against the pictures alone.
# Usage: bench/speichern_speicher.sh <path to speichern_bench>
set -eu
bench=${1:?Pfad zu speichern_bench}
spitze() {
  /usr/bin/time -f '%M' "$bench" --einmal="$1" 2>&1 >/dev/null | tail -n 1
}
basis=$(spitze mosaik)
for was in jpeg bmp; do
  kb=$(spitze "$was")
  echo "$was: Spitze ${kb} kB, davon $((kb - basis)) kB über den Bildern (Mosaik 105469 kB)"
done
echo "nur die Bilder: ${basis} kB"
