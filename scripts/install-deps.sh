#!/usr/bin/env bash
# Installs every Debian package needed to build, test and run the program.
# Does nothing when all of them are already present.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-l10n-tools qt6-tools-dev  # lupdate/lrelease: the interface's translations
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libsqlite3-dev libgl1-mesa-dev
  libqt6sql6-psql postgresql
  libglpk-dev libfreexl-dev libquazip1-qt6-dev
  qt6-translations-l10n fonts-noto-cjk
  fonts-droid-fallback  # loader sheets: a PDF whose Chinese text reads back as drawn
  poppler-utils  # tests read the loader sheets' PDFs back with pdftotext
  xvfb xauth sqlite3
  python3-openpyxl  # a reader not our own, for the exports' cell types
  dpkg-dev file  # the Debian package: cpack finds its dependencies with dpkg-shlibdeps
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
