#!/usr/bin/env bash
# Builds the Debian package into a folder of its own and checks that it holds what a native
# program installs: programs, manual pages, package documentation and, with the desktop program,
# its desktop entry, file types, AppStream description and icons of the sizes their folders name.
set -euo pipefail
cpack=$1 build=$2 version=$3 gui=$4
command -v dpkg-deb >/dev/null || { echo "no dpkg-deb: not a Debian system"; exit 77; }
out=$build/package-test
rm -rf "$out"
mkdir -p "$out/root"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$out/kalkora_${version}_$(dpkg --print-architecture).deb
dpkg-deb -x "$deb" "$out/root"
cd "$out/root"

expected=(usr/bin/kalkora-cli usr/share/man/man1/kalkora-cli.1.gz usr/share/doc/kalkora/copyright
          usr/share/doc/kalkora/changelog.gz usr/share/doc/kalkora/examples/werk.sta
          usr/share/doc/kalkora/examples/welle.auf usr/share/kalkora/help/ueber.html)
sizes=()
if [ "$gui" = 1 ]; then
  expected+=(usr/bin/kalkora usr/share/man/man1/kalkora.1.gz usr/share/applications/kalkora.desktop
             usr/share/mime/packages/kalkora.xml usr/share/metainfo/example.kalkora.Kalkora.metainfo.xml
             usr/share/icons/hicolor/scalable/apps/kalkora.svg)
  sizes=(16 22 24 32 48 64 128 256)
fi
status=0
fail() { echo "FAIL: $*"; status=1; }
for file in "${expected[@]}"; do
  [ -s "$file" ] || fail "missing $file"
done
for size in "${sizes[@]}"; do
  icon=usr/share/icons/hicolor/${size}x${size}/apps/kalkora.png
  # The PNG header holds width and height as big-endian 32-bit numbers from byte 16.
  read -r -a h < <(od -An -tu1 -j16 -N8 "$icon" 2>/dev/null || true)
  width=$(((${h[0]:-0} << 24) + (${h[1]:-0} << 16) + (${h[2]:-0} << 8) + ${h[3]:-0}))
  height=$(((${h[4]:-0} << 24) + (${h[5]:-0} << 16) + (${h[6]:-0} << 8) + ${h[7]:-0}))
  [ "$width x $height" = "$size x $size" ] || fail "$icon is $width x $height pixels, not $size x $size"
done
gzip -t usr/share/man/man1/*.gz usr/share/doc/kalkora/changelog.gz || fail "damaged gzip file"
zcat usr/share/doc/kalkora/changelog.gz | head -n 1 | grep -q "^kalkora ($version) " ||
  fail "the changelog does not begin with version $version"
if [ "$gui" = 1 ]; then
  grep -qx 'Exec=kalkora %F' usr/share/applications/kalkora.desktop || fail "the desktop entry passes no files"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate usr/share/applications/kalkora.desktop || fail "invalid desktop entry"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net usr/share/metainfo/*.xml >/dev/null || fail "invalid AppStream description"
  fi
fi
exit $status
