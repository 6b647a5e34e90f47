#!/usr/bin/env bash
# The bash completion of tilvendo, as bash calls it for the word under the cursor.
#   vervollstaendigung_test.sh TILVENDO VERVOLLSTAENDIGUNG
set -uo pipefail
PROGRAMM=$1
source "$2"

ORDNER=$(mktemp -d)
trap 'rm -rf "$ORDNER"' EXIT
PATH="$(dirname "$PROGRAMM"):$PATH"
cd "$ORDNER" || exit 1
mkdir -p fotos/urlaub alben bilder
touch a.jpg b.TIFF c.webp notiz.txt liste.csv
printf 'x' > fotos/urlaub/leer.jpg
tilvendo --alben-pfad alben album anlegen "Mein Urlaub" fotos/urlaub >/dev/null 2>&1
tilvendo --alben-pfad alben album anlegen Ferien fotos/urlaub >/dev/null 2>&1

fehler=0
# pruefen "ERWARTET" WORT… — the last word is the one completed; ERWARTET lists the
# completions sorted bytewise, one blank between them.
pruefen() {
  local erwartet=$1
  shift
  COMP_WORDS=(tilvendo "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _tilvendo
  local ist
  ist=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
  if [[ $ist != "$erwartet" ]]; then
    echo "FEHLER: tilvendo $*|  erwartet: [$erwartet]  erhalten: [$ist]"
    fehler=1
  fi
}

pruefen "album help hilfe mosaic mosaik" ""
pruefen "mosaic mosaik" mos
pruefen "aktualisieren anlegen create delete list liste loeschen rename restore show umbenennen update wiederherstellen zeigen" album ""
pruefen "create" album cr
pruefen "--tiles" mosaic a.jpg b.jpg --ti
pruefen "--kacheln" mosaik a.jpg b.jpg --ka
pruefen "--no-subfolders" album create Neu fotos --no
pruefen "" album liste --no
pruefen "--alben-pfad --albums-dir" --alb
pruefen "a.jpg alben b.TIFF bilder c.webp fotos" mosaic ""
pruefen "a.jpg alben b.TIFF bilder fotos" mosaik a.jpg ""
pruefen "liste.csv" mosaic a.jpg b.jpg --placement-list l
pruefen "fast" mosaic a.jpg b.jpg --method f
pruefen "suppress" mosaik a.jpg b.jpg --muster su
pruefen "fill fuellen" mosaik a.jpg b.jpg --druck 100x70cm --papier f
pruefen "Ferien Mein\\ Urlaub" --alben-pfad alben mosaik a.jpg b.jpg --album ""
pruefen "Mein\\ Urlaub" --albums-dir=alben album show M
pruefen "Ferien" --alben-pfad alben album loeschen F
pruefen "" --alben-pfad alben album show Ferien ""
pruefen "" mosaic a.jpg b.jpg --tiles ""
exit $fehler
