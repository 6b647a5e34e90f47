#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo as the build made them, and the manual
# pages, checked by the validators the desktop and man-db use.
#   desktopdaten_test.sh BAU_SHARE MAN_ORDNER
set -uo pipefail
DATEN=$1
HANDBUCH=$2
fehler=0

desktop="$DATEN/applications/org.example.NuboTilvendo.desktop"
metainfo="$DATEN/metainfo/org.example.NuboTilvendo.metainfo.xml"
desktop-file-validate "$desktop" || fehler=1
appstreamcli validate --no-net "$metainfo" || fehler=1

# English untagged, German tagged: software centres show the untagged texts to everyone.
grep -qx 'GenericName=Make a photo mosaic' "$desktop" || { echo "kein englischer GenericName"; fehler=1; }
grep -qx 'GenericName\[de\]=Fotomosaik erstellen' "$desktop" || { echo "kein deutscher GenericName"; fehler=1; }
for schluessel in Name Comment Keywords; do
  grep -q "^$schluessel\[de\]=" "$desktop" || { echo "kein $schluessel[de]"; fehler=1; }
done
grep -q '<summary>Make photo mosaics from your own photos</summary>' "$metainfo" ||
  { echo "keine englische summary"; fehler=1; }
grep -q '<summary xml:lang="de">Fotomosaike aus den eigenen Fotos erstellen</summary>' "$metainfo" ||
  { echo "keine deutsche summary"; fehler=1; }
if grep -q 'xml:lang="en"' "$metainfo"; then echo "englische Texte sind markiert"; fehler=1; fi

for seite in "$HANDBUCH"/*.1 "$HANDBUCH"/de/*.1; do
  warnungen=$(LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z "$seite" 2>&1)
  if [[ -n $warnungen ]]; then
    echo "$seite: $warnungen"
    fehler=1
  fi
done
exit $fehler
