#!/usr/bin/env bash
# The matching under usage limits on the generated photo collections (bench/sammlung.sh):
#  - a cap of 3 uses per photo on 60 x 45 tiles (and the least cap the 2,000 photos allow
#    on 100 x 75), against the matching of an earlier version that placed capped photos
#    greedily, closest pairs first: the mean CIE76 colour difference to the template
#    (bench/aehnlichkeit_bench.cpp) and the total signature distance of the flow, the
#    flow's bound for the optimum, and the total after the exchanges for the minimum
#    distance (all from --bericht); and how close any assignment under that cap could come
#    (bench/aehnlichkeit_grenze_bench.cpp), beside the run's own assignment by the same
#    measure of the photos' mean colours (the earlier version writes no tile list);
#  - every photo at least once with 2,000 photos on 100 x 75 tiles, against no limit;
#  - the time of the matching phase ("Berechnen des Mosaiks") and the peak memory of the
#    run at 200 x 150 tiles with 20,000 photos, with a cap of 3 and with every photo at
#    least once, and the same step alone on a synthetic tile list (zuordnung_bench).
# Uncapped runs of both versions must give the same file, byte for byte.
#
#   bench/zuordnung.sh
#
# TILVENDO_BUILD chooses the build folder (default build/release); a folder that already
# holds the programs is used as it stands. The earlier version is built from the commit
# GIERIG_STAND into the working folder ZUORDNUNG_ORDNER (default
# ~/.cache/nubo-tilvendo/zuordnung). GIERIG_STAND defaults to f60d27d, the last commit
# before the flow came in, whose capped matching placed the closest pairs first: the
# comparison is with that matching, whatever has been merged since. The load of the
# machine is printed before and after: the times only mean something on an idle one.
set -euo pipefail
# The program's report and help are read in German, whatever the locale.
export LANGUAGE=de
cd "$(dirname "$0")/.."

SEED=2024
BAU="${TILVENDO_BUILD:-build/release}"
ARBEIT="${ZUORDNUNG_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/zuordnung}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"
# The last commit whose capped matching was the greedy one (see above).
GIERIG_STAND="${GIERIG_STAND:-f60d27d1a83a7e68e32d1f32f1dd288cfe1898b6}"

if [ ! -x "$BAU/cli/tilvendo" ] || [ ! -x "$BAU/bench/aehnlichkeit_bench" ] ||
  [ ! -x "$BAU/bench/zuordnung_bench" ] || [ ! -x "$BAU/bench/aehnlichkeit_grenze_bench" ] ||
  [ ! -x "$BAU/cli/tilvendo-demo-sammlung" ]; then
  echo "== Baue tilvendo (Release) in $BAU"
  cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
    -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=ON >/dev/null
  cmake --build "$BAU" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung \
    aehnlichkeit_bench aehnlichkeit_grenze_bench zuordnung_bench >/dev/null
fi
TILVENDO="$(realpath "$BAU/cli/tilvendo")"
MESSEN="$(realpath "$BAU/bench/aehnlichkeit_bench")"
ALLEIN="$(realpath "$BAU/bench/zuordnung_bench")"
GRENZE="$(realpath "$BAU/bench/aehnlichkeit_grenze_bench")"

GIERIG=""
if [ -n "$GIERIG_STAND" ]; then
  GIERIG_BAU="$ARBEIT/gierig-$GIERIG_STAND"
  if [ ! -x "$GIERIG_BAU/build/cli/tilvendo" ]; then
    echo "== Baue die frühere Version ($GIERIG_STAND) in $GIERIG_BAU"
    rm -rf "$GIERIG_BAU"
    mkdir -p "$GIERIG_BAU"
    git archive "$GIERIG_STAND" | tar -x -C "$GIERIG_BAU"
    cmake -S "$GIERIG_BAU" -B "$GIERIG_BAU/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTILVENDO_UI=OFF -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=OFF >/dev/null
    cmake --build "$GIERIG_BAU/build" -j "$(nproc)" --target tilvendo >/dev/null
  fi
  GIERIG="$GIERIG_BAU/build/cli/tilvendo"
fi

echo "== Last vorher: $(uptime)"
ANZAHL=2000
source bench/sammlung.sh
FOTOS_2000="$FOTOS"
ANZAHL=20000
source bench/sammlung.sh
FOTOS_20000="$FOTOS"

ALBEN="$ARBEIT/alben-zuordnung"
rm -rf "$ALBEN"
"$TILVENDO" --alben-pfad "$ALBEN" album anlegen S2000 "$FOTOS_2000" >/dev/null
"$TILVENDO" --alben-pfad "$ALBEN" album anlegen S20000 "$FOTOS_20000" >/dev/null

# Runs a mosaic (program, album, tiles, options…) into $ARBEIT/zuordnung.jpg and keeps its
# report and peak memory in $ARBEIT/bericht.txt.
mosaik() {
  local programm="$1" album="$2" kacheln="$3"
  shift 3
  /usr/bin/time -f "Spitzenspeicher des Laufs: %M KB" "$programm" --alben-pfad "$ALBEN" mosaik \
    "$VORLAGE" "$ARBEIT/zuordnung.jpg" --album "$album" --kacheln "$kacheln" \
    --mindestabstand 2 --einblenden 0 --seed 1 --bericht "$@" >"$ARBEIT/bericht.txt" 2>&1 ||
    true
}
feld() { grep -oP "$1" "$ARBEIT/bericht.txt" | head -1 || true; }
# The flow's bound, marked with * where only each cell's near photos were searched.
schranke() {
  local wert
  wert="$(feld 'mindestens \K[0-9]+')"
  if grep -q "über die nahen Fotos" "$ARBEIT/bericht.txt"; then wert="$wert*"; fi
  echo "$wert"
}
farbabstand() { "$MESSEN" "$VORLAGE" "$ARBEIT/zuordnung.jpg" "$1"; }

zeilen=()
grenzen=()
# Name, album, tiles, options of the runs compared with the colour difference.
FAELLE=(
  "ohne Grenze|S2000|60x45|"
  "max. 3|S2000|60x45|--max-verwendungen 3"
  "ohne Grenze|S2000|100x75|"
  "max. 3|S2000|100x75|--max-verwendungen 3"
  "max. 4|S2000|100x75|--max-verwendungen 4"
  "jedes Foto|S2000|100x75|--jedes-foto"
)
for fall in "${FAELLE[@]}"; do
  IFS='|' read -r name album kacheln optionen <<<"$fall"
  gierig="–"
  if [ -n "$GIERIG" ] && [[ "$optionen" != *jedes* ]]; then
    # shellcheck disable=SC2086  # the options are split on purpose
    mosaik "$GIERIG" "$album" "$kacheln" $optionen
    if grep -q "Mosaik gespeichert" "$ARBEIT/bericht.txt"; then
      gierig="$(farbabstand "$kacheln")"
      cp "$ARBEIT/zuordnung.jpg" "$ARBEIT/gierig.jpg"
    fi
  fi
  # shellcheck disable=SC2086
  mosaik "$TILVENDO" "$album" "$kacheln" $optionen --liste "$ARBEIT/neu-$kacheln.csv"
  if ! grep -q "Mosaik gespeichert" "$ARBEIT/bericht.txt"; then
    zeilen+=("$(printf '%-12s %-7s | abgelehnt: %s' "$name" "$kacheln" \
      "$(grep -m1 Warnung "$ARBEIT/bericht.txt" | cut -c1-110)")")
    continue
  fi
  neu="$(farbabstand "$kacheln")"
  gleich=""
  if [ -z "$optionen" ] && [ "$gierig" != "–" ]; then
    cmp -s "$ARBEIT/zuordnung.jpg" "$ARBEIT/gierig.jpg" && gleich=" (Datei gleich)" ||
      gleich=" (Datei VERSCHIEDEN)"
  fi
  verhaeltnis="–"
  [ "$gierig" != "–" ] && verhaeltnis="$(python3 -c "print(f'{$neu/$gierig:.2f}')")"
  if [[ "$optionen" == *"max-verwendungen 3"* ]]; then
    grenzen+=("$name, $kacheln: $("$GRENZE" "$VORLAGE" "$kacheln" 3 2 "$FOTOS_2000" \
      "$ARBEIT/neu-$kacheln.csv" 2>&1 | tail -n +2 | sed "s|$ARBEIT/neu-$kacheln.csv|Mosaik|" |
      paste -sd ';' | sed 's/;/; /g')")
  fi
  zeilen+=("$(printf '%-12s %-7s | %6s | %6s | %5s | %9s | %9s | %9s | %6s | %5s%s' "$name" \
    "$kacheln" "$neu" "$gierig" "$verhaeltnis" \
    "$(feld 'Fluss \K[0-9]+')" "$(schranke)" \
    "$(feld 'Signaturabstände: \K[0-9]+')" "$(feld 'Mindestabstand: \K[0-9]+')" \
    "$(feld 'im Mosaik: \K[0-9]+')" "$gleich")")
done

echo
echo "Sammlung: 2000 Fotos; Vorlage $VORLAGE; Mindestabstand 2, nichts eingeblendet"
echo "ΔE: mittlerer Farbabstand (CIE76) zur Vorlage im Kachelraster; früher: die Version"
echo "$GIERIG_STAND. Fluss: Summe der Signaturabstände vor dem Ausgleich, Schranke: das Optimum"
echo "ist mindestens so groß (*: über die nahen Fotos jeder Kachel statt über alle Paare),"
echo "danach: nach den Tauschen für den Mindestabstand."
printf '%-12s %-7s | %6s | %6s | %5s | %9s | %9s | %9s | %6s | %5s\n' "Fall" "Kacheln" "ΔE" \
  "früher" "÷" "Fluss" "Schranke" "danach" "Tausch" "Fotos"
for z in "${zeilen[@]}"; do echo "$z"; done
echo
echo "Untergrenze: der kleinste mittlere Farbabstand der Fotomittel zu den Kachelmitteln unter"
echo "dem Deckel, dann nach den Tauschen für den Mindestabstand, und derselbe Farbabstand der"
echo "Zuordnung dieser Version (Mosaik):"
for g in "${grenzen[@]}"; do echo "$g"; done

echo
echo "200 x 150 Kacheln, 20000 Fotos (Zeit der Phase „Berechnen des Mosaiks“, Spitzenspeicher"
echo "des ganzen Laufs):"
FAELLE=("max. 3|$TILVENDO|--max-verwendungen 3" "max. 3 früher|$GIERIG|--max-verwendungen 3"
  "jedes Foto|$TILVENDO|--jedes-foto" "ohne Grenze|$TILVENDO|")
for fall in "${FAELLE[@]}"; do
  IFS='|' read -r name programm optionen <<<"$fall"
  [ -n "$programm" ] || continue
  # shellcheck disable=SC2086
  mosaik "$programm" S20000 200x150 $optionen
  printf '%-14s | %8s s | %8s KB | ΔE %6s | Fotos %5s | Fluss %s, Schranke %s\n' "$name" \
    "$(feld 'Berechnen des Mosaiks: .*\(\K[0-9.,]+')" "$(feld 'Spitzenspeicher des Laufs: \K[0-9]+')" \
    "$(farbabstand 200x150)" "$(feld 'im Mosaik: \K[0-9]+')" "$(feld 'Fluss \K[0-9]+')" \
    "$(schranke)"
done
echo
echo "Derselbe Schritt allein, synthetische Kacheln (bench/zuordnungsjob.h):"
"$ALLEIN" 200x150 20000 --max-verwendungen 3
"$ALLEIN" 200x150 20000 --jedes-foto
echo
echo "== Last nachher: $(uptime)"
