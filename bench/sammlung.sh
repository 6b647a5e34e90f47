# Sourced by the comparison scripts: the generated photo collection and the template
# both of them measure on. Expects BAU (a build folder with tilvendo-demo-sammlung),
# ANZAHL, SEED, ARBEIT and VORLAGE_WUNSCH; sets QUELLEN, VORLAGE and FOTOS.
# shellcheck shell=bash

mapfile -t QUELLEN < <(dpkg -L mate-backgrounds ukui-wallpapers 2>/dev/null |
  grep -iE '\.jpe?g$' | sort -u | while read -r f; do [ -f "$f" ] && echo "$f"; done)
if [ ${#QUELLEN[@]} -eq 0 ]; then
  echo "Keine Hintergrundbilder gefunden; bitte werkzeuge/einrichten.sh ausführen." >&2
  exit 1
fi
VORLAGE="$VORLAGE_WUNSCH"
[ -f "$VORLAGE" ] || VORLAGE="${QUELLEN[0]}"

mkdir -p "$ARBEIT"
FOTOS="$ARBEIT/fotos-$ANZAHL-$SEED"
if [ ! -f "$FOTOS/.vollstaendig" ]; then
  echo "== Erzeuge die Sammlung ($ANZAHL Fotos) in $FOTOS"
  rm -rf "$FOTOS"
  "$BAU/cli/tilvendo-demo-sammlung" --ziel "$FOTOS" --anzahl "$ANZAHL" --seed "$SEED" \
    "${QUELLEN[@]}" >/dev/null
  touch "$FOTOS/.vollstaendig"
fi

# The 1600 × 1200 template of the poster measurements: the middle 4 : 3 of the wallpaper,
# scaled (made once in ARBEIT); prints its path. Needs djpeg and cjpeg.
vorlage_1600() {
  local ziel="$ARBEIT/vorlage-1600.jpg"
  if [ ! -f "$ziel" ]; then
    djpeg "$VORLAGE" >"$ARBEIT/vorlage.ppm"
    python3 - "$ARBEIT/vorlage.ppm" "$ARBEIT/vorlage-1600.ppm" <<'PY'
import sys
d = open(sys.argv[1], 'rb').read()
teile, i = [], 0
while len(teile) < 4:
    while d[i:i + 1].isspace(): i += 1
    j = i
    while not d[j:j + 1].isspace(): j += 1
    teile.append(int(d[i:j]) if len(teile) else d[i:j]); i = j
i += 1
w, h = teile[1], teile[2]
bw, bh = min(w, h * 4 // 3), min(h, w * 3 // 4)
x0, y0 = (w - bw) // 2, (h - bh) // 2
aus = bytearray()
for y in range(1200):
    sy = y0 + (2 * y + 1) * bh // 2400
    zeile = d[i + sy * w * 3: i + (sy + 1) * w * 3]
    for x in range(1600):
        sx = x0 + (2 * x + 1) * bw // 3200
        aus += zeile[3 * sx: 3 * sx + 3]
open(sys.argv[2], 'wb').write(b'P6 1600 1200 255\n' + bytes(aus))
PY
    cjpeg -quality 95 "$ARBEIT/vorlage-1600.ppm" >"$ziel"
    rm -f "$ARBEIT/vorlage.ppm" "$ARBEIT/vorlage-1600.ppm"
  fi
  echo "$ziel"
}
