#!/usr/bin/env bash
# Builds the Debian package and checks that it holds what a user needs and
# depends on the libraries the program links.
set -euo pipefail
build=$1
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/package/trelvik_*.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/trelvik ./usr/bin/trelvik-sim \
    ./usr/share/applications/org.trelvik.Trelvik.desktop \
    ./usr/share/metainfo/org.trelvik.Trelvik.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.trelvik.Trelvik.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.trelvik.Trelvik.png \
    ./usr/share/man/man1/trelvik.1 \
    ./usr/lib/udev/rules.d/70-trelvik.rules; do
  grep -qF " $path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6widgets6; do
  grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib: $depends"; exit 1; }
done
echo "package ok: $(basename "$deb")"
