#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing quirelle need.
# Quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  clang libclang-rt-14-dev llvm
  qt6-base-dev libqt6printsupport6 qt6-translations-l10n
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libgs-dev ghostscript
  libgraphicsmagick++1-dev graphicsmagick
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils qpdf xvfb xauth zip
  libreoffice-writer-nogui
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
