#!/usr/bin/env bash
# Installs what Quercino needs on a Debian 12 machine.
#   bash scripts/setup.sh program   what building and running the program needs
#   bash scripts/setup.sh [tests]   that, and what the tests, benchmarks and fuzzing add
set -euo pipefail
cd "$(dirname "$0")/.."

set_name=${1:-tests}
case "$set_name" in
  program | tests) ;;
  *) echo "usage: bash scripts/setup.sh [program|tests]" >&2; exit 2 ;;
esac

# The compiler and build tools, Qt with its SQL drivers and Italian translations, the ODBC
# layer with the drivers of client/server mode, the libraries the build links, and what
# the build reads or runs to make its data (countries from iso-codes through python3, the
# manual's DejaVu fonts, the sample workbook through libxlsxwriter); python3 also fetches
# the towns' data below, over HTTPS checked against ca-certificates.
program_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc qt6-translations-l10n
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql
  zlib1g-dev libxlsxwriter-dev
  iso-codes python3 ca-certificates fonts-dejavu-core
)
# The tests' oracles and servers (Gnumeric: a second writer of .xls files, and the only
# one at hand of Excel 5.0/95's), GoogleTest, the benchmarks' baselines, the fuzzing
# build's compiler, strace for the check that the program needs only the set above, and
# gcovr for scripts/coverage.sh; faketime runs tests at a fixed moment, in a zone of tzdata,
# so that a test that depends on the clock fails every time.
# Node.js is an oracle of the PDF tests (JavaScript strings and scripts); rsvg-convert and
# gnuplot write the EPS files of cairo's producers that the PDF tests place; xvfb-run (with
# xauth, which it needs) gives run.sh's desktop check a real X server.
# fig2dev, graphviz, matplotlib and groff write the EPS files of PostScript's own producers
# that the PDF tests place (groff's through ghostscript's ps2epsi).
test_packages=(
  postgresql-15 sqlite3
  libgtest-dev libgmock-dev
  libzip-dev libxml2-dev libxml2-utils libhpdf-dev
  python3-fonttools fonts-urw-base35 fonts-liberation2
  qpdf poppler-utils mupdf-tools zbar-tools openssl imagemagick ghostscript python3-pil python3-cairo
  librsvg2-bin gnuplot-nox fig2dev graphviz python3-matplotlib groff-base
  nodejs unzip xvfb xauth locales libreoffice-calc-nogui libreoffice-draw-nogui gnumeric
  clang-14 libclang-rt-14-dev ccache strace gcovr faketime tzdata
)

packages=("${program_packages[@]}")
[ "$set_name" = tests ] && packages+=("${test_packages[@]}")

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# apt-get runs quietly: the line before it says what the minutes are spent on.
if ((${#missing[@]})); then
  echo "Set-up: installing ${#missing[@]} Debian packages with apt-get, quietly (it may take" \
       "several minutes): ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
# The tests run a second time under the Italian locale, which catches numbers or dates
# written through the machine's locale.
if [ "$set_name" = tests ] && ! locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then
  echo "Set-up: generating the Italian locale it_IT.UTF-8"
  $SUDO sed -i 's/^# *\(it_IT.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^it_IT.UTF-8 UTF-8' /etc/locale.gen || echo 'it_IT.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# The npm packages live in the user's cache, outside build/: they come from the network, and
# a removed build folder is built again without a download. The build reads them there
# (QUERCINO_NPM_DATA_DIR in tools/CMakeLists.txt, which finds the same folder).
if [ -n "${XDG_CACHE_HOME:-}" ] && [ "${XDG_CACHE_HOME#/}" != "$XDG_CACHE_HOME" ]; then
  npm_data=$XDG_CACHE_HOME/quercino/npm
else
  npm_data=$HOME/.cache/quercino/npm
fi

# One npm package, its tarball fetched from the npm registry and checked against the
# integrity the registry publishes for it (dist.integrity, pinned by the caller), then
# extracted with tar to $npm_data/node_modules/NAME, whole or not at all. Neither npm nor
# Node.js is needed. Skipped when FILE (inside the package) is already there; a copy that a
# set-up extracted into build/npm-data is taken as it is, without a download.
#   fetch_npm_package NAME TARBALL INTEGRITY FILE WHAT
fetch_npm_package() {
  local name=$1 tarball=$2 integrity=$3 file=$4 what=$5
  local target=$npm_data/node_modules/$name
  local kept=build/npm-data/node_modules/$name
  [ -f "$target/$file" ] && return 0
  mkdir -p "$(dirname "$target")"
  local work
  work=$(mktemp -d "$(dirname "$target")/.fetch.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  if [ -f "$kept/$file" ]; then
    echo "Set-up: $what copied from $kept into $target"
    cp -a "$kept" "$work/package"
  else
    echo "Set-up: fetching $what from the npm registry into $target"
    /usr/bin/python3 - "$tarball" "$integrity" "$work/package.tgz" "$what" <<'PY'
import base64, hashlib, sys, urllib.request

url, integrity, target, what = sys.argv[1:]
try:
    with urllib.request.urlopen(url, timeout=60) as answer:
        data = answer.read()
except OSError as e:
    sys.exit(f'Set-up stopped: could not download {url} ({e}). '
             f'Set-up needs the network to fetch {what}.')
found = 'sha512-' + base64.b64encode(hashlib.sha512(data).digest()).decode()
if found != integrity:
    sys.exit(f'Set-up stopped: {url} is not the file the npm registry published '
             f'(its sha512 integrity is {found}, scripts/setup.sh expects {integrity}). '
             'Nothing was extracted.')
with open(target, 'wb') as f:
    f.write(data)
PY
    # The registry's tarballs hold one folder, package/.
    tar -xzf "$work/package.tgz" -C "$work" --no-same-owner --no-same-permissions
    if [ ! -f "$work/package/$file" ]; then
      echo "Set-up stopped: $tarball holds no package/$file" >&2
      exit 1
    fi
  fi
  rm -rf "$target"
  mv "$work/package" "$target"
  rm -rf "$work"
  trap - EXIT
}

# Reference data of the Italian towns and birthplace codes (CC BY-SA): the package
# codice-fiscale-js 2.4.0, read by the build.
fetch_npm_package codice-fiscale-js \
  https://registry.npmjs.org/codice-fiscale-js/-/codice-fiscale-js-2.4.0.tgz \
  sha512-xP843AI9e7WiWWfScKjaJLRkLnyD5+FUdYpstPlGY7e/gNbhix4y+AryPTZnvgO0V65KW4mKQHQK7DHzLLIfEg== \
  src/lista-comuni.js "the towns' data"

# A second writer of every workbook format the import reads (.xlsx, .xlsb, .xls in BIFF8
# and BIFF5, .ods), run by the tests with Node.js: SheetJS's package xlsx 0.18.5.
if [ "$set_name" = tests ]; then
  fetch_npm_package xlsx \
    https://registry.npmjs.org/xlsx/-/xlsx-0.18.5.tgz \
    sha512-dmg3LCjBPHZnQp5/F/+nnTa+miPJxUXB6vtk42YjBBKayDNagxGEeIdWApkYPOf3Z3pm3k62Knjzp7lMeTEtFQ== \
    xlsx.js "SheetJS, a writer of the tests' workbooks"
fi
