#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing quirelle need.
# Quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  clang libclang-rt-14-dev llvm clang-format
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

[ ${#missing[@]} -eq 0 ] && exit 0

# Root installs directly, anyone else through sudo when sudo works without a password. A sudo
# that would ask for one counts as refused, like a missing sudo: the message below then says
# what to run as root.
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! sudo -n true 2>/dev/null; then
    # apt-get update first: container images come with empty package lists.
    echo "Missing packages: ${missing[*]}." >&2
    echo "Install them as root, then run this script again:" >&2
    echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  # sudo resets the environment: the front end is passed on by name.
  sudo_cmd=(sudo --preserve-env=DEBIAN_FRONTEND)
fi
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
