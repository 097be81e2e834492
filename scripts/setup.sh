#!/usr/bin/env bash
# Installs the Debian 12 packages Kestrel needs to build, run and test, but
# only those that are missing; a machine that has them all is left alone.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libbenchmark-dev
  fonts-ipafont-gothic
  # the lock-key lights of the status bar (Xlib's keyboard extension)
  libx11-dev libxcb1-dev
  # tests and independent oracles
  xvfb xauth xclip xdotool dbus imagemagick zint libzint-dev zbar-tools
  zxing-cpp-tools libzxing-dev
  # vector pictures and their readers; the Debian package
  qt6-svg-dev librsvg2-bin poppler-utils dpkg-dev
  # the PNG chunk sums
  zlib1g-dev
  # the barcode font's glyphs without Qt
  libfreetype-dev libfontconfig-dev
  # the typed automation test: busctl's JSON answers, Python reads them and
  # the interface XML
  systemd python3 python3-dbus
  # Qt's own dialogs (print, file, colour) in Japanese
  qt6-translations-l10n
  # formatting and static analysis (scripts/lint.sh); rebuilds reuse objects
  clang-format clang-tidy ccache
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
