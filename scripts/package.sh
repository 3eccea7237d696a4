#!/usr/bin/env bash
# Builds the Debian package from the release preset (build/release/quorlen_*.deb), lists its
# contents and dependencies, and checks its desktop entry and AppStream metainfo.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
cpack --preset release >/dev/null

deb=$(ls -t build/release/quorlen_*.deb | head -n 1)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
dpkg-deb --contents "$deb"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked"
for program in usr/bin/quorlen usr/bin/quorlen-cli; do
  [[ -x "$unpacked/$program" ]] || { echo "package: $program is missing" >&2; exit 1; }
done
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' ||
  { echo "package: no dependency on the Qt 6 widgets runtime" >&2; exit 1; }
desktop-file-validate "$unpacked"/usr/share/applications/io.github.quorlen.Quorlen.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/io.github.quorlen.Quorlen.metainfo.xml
echo "package: $deb built and checked"
