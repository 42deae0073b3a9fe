#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what a desktop expects to find there: the
# program, the desktop entry and the AppStream metainfo (both passing their validators), the icon
# in every size, and the teacher's notes.
#   install_test.sh <build folder>
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.example.HalvoranRadiation
expect=(
  bin/halvoran-radiation
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/halvoran-radiation.svg
  share/icons/hicolor/48x48/apps/halvoran-radiation.png
  share/icons/hicolor/128x128/apps/halvoran-radiation.png
  share/icons/hicolor/256x256/apps/halvoran-radiation.png
  share/doc/halvoran-radiation/model.md
  share/doc/halvoran-radiation/copyright
)
for f in "${expect[@]}"; do
  [ -f "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ -x "$prefix/bin/halvoran-radiation" ] || { echo "the program is not executable"; exit 1; }

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

# The PNG icons really have the size their folder names.
for size in 48 128 256; do
  got=$(file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/halvoran-radiation.png")
  case "$got" in
    *"$size x $size"*) ;;
    *) echo "icon ${size}x${size} is: $got"; exit 1 ;;
  esac
done
echo "install tree passes"
