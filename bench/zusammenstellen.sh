#!/usr/bin/env bash
# Warm mosaics from the command line, timed: 40 × 30 and 100 × 75 tiles at the template's
# size (1600 × 1200 pixels, JPEG at quality 90) and the poster of 20,000 × 15,000 pixels
# (100 × 75 tiles of 200 pixels, JPEG). Every case runs LAEUFE times; the script prints the
# median time and peak memory (maximum resident set, from /usr/bin/time) of each, with the
# single times.
#
#   bench/zusammenstellen.sh [LAEUFE] [BAU ...]     (defaults 5 and build/release)
#
# Given several build folders, the builds take turns run by run, so that a machine shared
# with other work loads each of them alike: the way to compare a change with the version
# before it. The album of the 2,000-photo collection (SEED 2024) is made by the first
# build; VERGLEICH_ORDNER chooses the working folder.
set -euo pipefail
cd "$(dirname "$0")/.."

LAEUFE="${1:-5}"
shift || true
BAUTEN=("$@")
[ ${#BAUTEN[@]} -gt 0 ] || BAUTEN=("${TILVENDO_BUILD:-build/release}")
ANZAHL=2000
SEED=2024
BAU="${BAUTEN[0]}"
# Not below /tmp: a RAM file system holds no albums, and the poster is large.
ARBEIT="${VERGLEICH_ORDNER:-${XDG_CACHE_HOME:-$HOME/.cache}/nubo-tilvendo/vergleich}"
VORLAGE_WUNSCH="/usr/share/backgrounds/mate/nature/YellowFlower.jpg"
FAELLE=("40x30|" "100x75|" "poster|--grossformat --groesse 20000x15000")

source bench/rechnen.sh
fehlende_installieren cjpeg:libjpeg-turbo-progs
for bau in "${BAUTEN[@]}"; do
  if [ ! -x "$bau/cli/tilvendo" ]; then
    echo "== Baue tilvendo (Release) in $bau"
    cmake -S . -B "$bau" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVENDO_UI=OFF \
      -DTILVENDO_TESTS=OFF -DTILVENDO_BENCH=OFF >/dev/null
    cmake --build "$bau" -j "$(nproc)" --target tilvendo tilvendo-demo-sammlung >/dev/null
  fi
done
source bench/sammlung.sh
VORLAGE_1600=$(vorlage_1600)
ALBEN="$ARBEIT/alben"
if ! "$BAU/cli/tilvendo" --alben-pfad "$ALBEN" album zeigen Vergleich >/dev/null 2>&1; then
  rm -rf "$ALBEN"
  "$BAU/cli/tilvendo" --alben-pfad "$ALBEN" album anlegen Vergleich "$FOTOS" >/dev/null
fi

# Runs case FALL with build BAU once; prints "SEKUNDEN KB".
lauf() {
  local bau=$1 kacheln=${2%%|*} mehr=${2#*|}
  [ "$kacheln" = poster ] && kacheln=100x75
  # shellcheck disable=SC2086
  if ! /usr/bin/time -f '%e %M' -o "$ARBEIT/zeit" "$bau/cli/tilvendo" --alben-pfad "$ALBEN" \
    mosaik "$VORLAGE_1600" "$ARBEIT/zusammenstellen.jpg" --album Vergleich \
    --kacheln "$kacheln" --mindestabstand 2 --seed 1 $mehr >"$ARBEIT/ausgabe.txt" 2>&1; then
    echo "Fehlgeschlagen: $bau ${2}" >&2
    cat "$ARBEIT/ausgabe.txt" >&2
    exit 1
  fi
  tail -n 1 "$ARBEIT/zeit"
}

# Once each, so that the signature cache and the file cache are warm.
for bau in "${BAUTEN[@]}"; do
  for fall in "${FAELLE[@]}"; do lauf "$bau" "$fall" >/dev/null; done
done

declare -A zeiten speicher
for ((i = 0; i < LAEUFE; i++)); do
  for fall in "${FAELLE[@]}"; do
    for bau in "${BAUTEN[@]}"; do
      read -r t m < <(lauf "$bau" "$fall")
      zeiten["$bau|$fall"]+="$t "
      speicher["$bau|$fall"]+="$m "
    done
  done
done
rm -f "$ARBEIT/zusammenstellen.jpg"

echo
echo "Warme Läufe, $ANZAHL Fotos, Vorlage 1600 x 1200, Median aus $LAEUFE Läufen"
printf '%-8s | %-28s | %9s | %12s | %s\n' "Fall" "Bau" "Zeit (s)" "Spitze (MiB)" "Einzelzeiten"
for fall in "${FAELLE[@]}"; do
  for bau in "${BAUTEN[@]}"; do
    # shellcheck disable=SC2086
    t=$(median ${zeiten["$bau|$fall"]})
    # shellcheck disable=SC2086
    m=$(median ${speicher["$bau|$fall"]})
    printf '%-8s | %-28s | %9s | %12s | %s\n' "${fall%%|*}" "$bau" "$t" "$(rechne "$m/1024" 0)" \
      "${zeiten["$bau|$fall"]}"
  done
done
