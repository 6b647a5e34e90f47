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
