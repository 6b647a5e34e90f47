# Sourced by the comparison scripts: the figures they print, and the Debian tools they
# need but do not build themselves.
# shellcheck shell=bash

# Seconds since the epoch, to the nanosecond.
jetzt() { date +%s.%N; }

# The median of the numbers given.
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# AUSDRUCK [STELLEN]: the value of a Python expression, with STELLEN decimals (default 1).
rechne() { python3 -c "print(f'{$1:.${2:-1}f}')"; }

# BEFEHL:PAKET ...: installs the package of every command that is missing.
fehlende_installieren() {
  local fehlend=() werkzeug als_root=()
  for werkzeug in "$@"; do
    command -v "${werkzeug%%:*}" >/dev/null || fehlend+=("${werkzeug#*:}")
  done
  [ ${#fehlend[@]} -gt 0 ] || return 0
  echo "== Installiere ${fehlend[*]}"
  [ "$(id -u)" -eq 0 ] || als_root=(sudo)
  "${als_root[@]}" apt-get install -y --no-install-recommends "${fehlend[@]}" >/dev/null
}
