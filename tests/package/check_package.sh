#!/usr/bin/env bash
# Builds the .deb in the build folder $1, installs it, validates its desktop entry and AppStream
# data, starts the installed program until its window appears, and removes the package again.
# Skipped (77) where packages cannot be installed.
set -euo pipefail
[ "$(id -u)" = 0 ] && command -v apt-get >/dev/null || { echo "package check skipped: needs root and apt-get"; exit 77; }
dpkg-query -W -f='${Status}' tarnwipe 2>/dev/null | grep -q "install ok installed" &&
  { echo "package check skipped: tarnwipe is installed on this machine"; exit 77; }
cd "$1"
rm -f tarnwipe_*.deb
cpack -G DEB > /dev/null
deb=$(ls tarnwipe_*.deb)
echo "$deb: $(stat -c %s "$deb") bytes; $(dpkg-deb -f "$deb" Depends)"
trap 'apt-get remove -y -qq --purge tarnwipe > /dev/null 2>&1 || true' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" > /dev/null
desktop-file-validate /usr/share/applications/org.tarnwipe.Tarnwipe.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.tarnwipe.Tarnwipe.metainfo.xml > /dev/null
test -f /usr/share/icons/hicolor/scalable/apps/org.tarnwipe.Tarnwipe.svg
# The other tests run offscreen; the installed program must open a real window here.
env -u QT_QPA_PLATFORM xvfb-run -a sh -c 'tarnwipe & timeout 20 xdotool search --sync --name "^Tarnwipe" > /dev/null; status=$?; kill $!; exit $status'
apt-get remove -y -qq --purge tarnwipe > /dev/null
! command -v tarnwipe && test ! -e /usr/share/applications/org.tarnwipe.Tarnwipe.desktop
echo "installed, validated, started and removed"
