#!/usr/bin/env bash
# Installs what building, running and testing Quercino needs on a Debian 12 machine.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc qt6-translations-l10n
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql postgresql-15 sqlite3
  libgtest-dev libgmock-dev
  zlib1g-dev libzip-dev libxlsxwriter-dev libxml2-dev libxml2-utils libhpdf-dev
  iso-codes python3 python3-fonttools fonts-urw-base35 fonts-dejavu-core fonts-liberation2
  qpdf poppler-utils mupdf-tools zbar-tools openssl imagemagick ghostscript python3-pil python3-cairo unzip xvfb locales
  libreoffice-calc-nogui
  clang-14 libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
if ! command -v npm >/dev/null 2>&1; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq npm
fi

# The tests run a second time under the Italian locale, which catches numbers or dates
# written through the machine's locale.
if ! locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO sed -i 's/^# *\(it_IT.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^it_IT.UTF-8 UTF-8' /etc/locale.gen || echo 'it_IT.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# Reference data of the Italian towns and birthplace codes (CC BY-SA), pinned.
data=build/npm-data
if [ ! -f "$data/node_modules/codice-fiscale-js/src/lista-comuni.js" ]; then
  mkdir -p "$data"
  npm install --silent --no-audit --no-fund --prefix "$data" codice-fiscale-js@2.4.0 >/dev/null
fi
