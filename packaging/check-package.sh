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
    ./usr/share/mime/packages/org.trelvik.Trelvik.xml \
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

# The desktop's own MIME tools, over the package's files alone: flight logs map
# to their types by name and by their first bytes, and the types to Trelvik.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
data=$root/usr/share
update-mime-database "$data/mime" 2>/dev/null
update-desktop-database "$data/applications" 2>/dev/null
printf 'AFLY06113\r\nHFDTE070608\r\nB1129204018133N00455203WA0000000000\r\n' >"$root/flight.igc"
cp "$root/flight.igc" "$root/flight-without-extension"
printf 'OLCvnolc=Anna&na=Berg' >"$root/claim.olc"
printf 'OziExplorer Track Point File Version 2.1\r\n' >"$root/track.plt"
printf 'MsRcd\0D' >"$root/waypoints.mps"
content_type() {
  XDG_DATA_DIRS="$data" XDG_DATA_HOME="$root/none" gio info -a standard::content-type "$root/$1" |
    sed -n 's/.*standard::content-type: //p'
}
for pair in flight.igc:application/x-igc flight-without-extension:application/x-igc \
    claim.olc:application/x-olc-claim track.plt:application/x-ozi-track waypoints.mps:application/x-mapsource; do
  file=${pair%%:*} type=${pair#*:}
  found=$(content_type "$file")
  [[ "$found" == "$type" ]] || { echo "$file is $found, not $type"; exit 1; }
  echo "$file -> $type"
done
# GLib lists an application only when the program its entry starts exists.
handler=$(PATH="$root/usr/bin:$PATH" XDG_DATA_DIRS="$data" XDG_DATA_HOME="$root/none" XDG_CONFIG_HOME="$root/none" \
  gio mime application/x-igc)
grep -q 'org.trelvik.Trelvik.desktop' <<<"$handler" || { echo "no desktop entry for IGC files: $handler"; exit 1; }
echo "application/x-igc -> org.trelvik.Trelvik.desktop"
echo "package ok: $(basename "$deb")"
