#!/usr/bin/env bash
# Makes the Debian package from the build and checks it: lintian finds no error, the
# dependencies were computed from the binary, and the package holds the program, the desktop
# entry and the icon where Debian keeps them.
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

# Errors fail; warnings and notes are printed for the reader.
report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$report"
if grep -q '^E: ' <<<"$report"; then
  echo "lintian reports errors"
  exit 1
fi
echo "package passes"
