#!/usr/bin/env bash
# Installs every Debian package that building, testing and the demo need.
# Idempotent: packages that are already installed are skipped.
set -euo pipefail

PAKETE=(
  build-essential cmake ninja-build pkg-config clang-format
  clang-14 libclang-rt-14-dev lld-14
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libpng-dev libwebp-dev libtiff-dev libheif-dev
  libmount-dev libblkid-dev
  libcairo2-dev poppler-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  liblemon-dev
  libjs-leaflet
  chromium firefox-esr
  qt6-base-dev qt6-base-dev-tools libgl-dev xvfb xauth
  qt6-translations-l10n libqt6svg6 breeze-icon-theme fonts-dejavu-core
  appstream desktop-file-utils
  gettext man-db bash-completion
  python3
  mate-backgrounds ukui-wallpapers
)

fehlend=()
for paket in "${PAKETE[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$paket" 2>/dev/null | grep -q 'install ok installed'; then
    fehlend+=("$paket")
  fi
done

if [ ${#fehlend[@]} -eq 0 ]; then
  echo "Alle benötigten Pakete sind installiert."
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  als_root=()
else
  als_root=(sudo)
fi

echo "Installiere: ${fehlend[*]}"
"${als_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y --no-install-recommends "${fehlend[@]}"
