#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package from the build and checks it: lintian finds no error, the
# dependencies were computed from the binary, the package holds the program, the desktop entry
# and the icon where Debian keeps them, and its copyright file names the program's licence.
#   package_test.sh <build folder>
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in
  *libqt6widgets6*qt6-qpa-plugins*|*qt6-qpa-plugins*libqt6widgets6*) ;;
  *) echo "Depends were not computed from the binary"; exit 1 ;;
esac

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/halvoran-radiation ./usr/share/applications/org.example.HalvoranRadiation.desktop \
         ./usr/share/icons/hicolor/256x256/apps/halvoran-radiation.png \
         ./usr/share/doc/halvoran-radiation/copyright; do
  grep -q " $f\$" <<<"$contents" || { echo "missing in the package: $f"; exit 1; }
done

# The licence where Debian looks for it: the GPL, version 3 or later, its text Debian's own copy.
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/halvoran-radiation/copyright)
grep -qx 'License: GPL-3.0+' <<<"$copyright" || { echo "the copyright file names no GPL-3.0+"; exit 1; }
grep -q '/usr/share/common-licenses/GPL-3' <<<"$copyright" || { echo "the copyright file does not refer to Debian's GPL-3"; exit 1; }

# Errors fail; warnings and notes are printed for the reader.
report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$report"
if grep -q '^E: ' <<<"$report"; then
  echo "lintian reports errors"
  exit 1
fi
echo "package passes"
