#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the program and the tests need; skips what is there.
set -euo pipefail

packages=(
  cmake g++ make
  qt6-base-dev libjpeg-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-liberation
  libxkbcommon-x11-0 libxcb-cursor0
  xvfb xauth x11-utils xdotool imagemagick poppler-utils libxml2-utils librsvg2-bin
  qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
  clang libclang-rt-14-dev
  appstream lintian desktop-file-utils dpkg-dev file fakeroot
  nlohmann-json3-dev libfftw3-dev
  # The pictures' text: the font embedded from fonts-ipafont-gothic by fontTools, rasterized by
  # stb_truetype.
  python3-fonttools libstb-dev
  # The WebAssembly core: emscripten and GoogleTest's sources to build with it. Emscripten runs on
  # the machine's nodejs (node 20 here), which satisfies its dependency; its tests run under node.
  emscripten googletest
  # The browser the page's tests drive (/usr/bin/chromium).
  chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
