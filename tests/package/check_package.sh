#!/usr/bin/env bash
# Builds the .deb in the build folder $1, has lintian check it (no error, no warning), installs
# it, validates its desktop entry, file-manager menu entries and AppStream data (pedantic), finds
# its manual page, starts the installed program until its window appears, runs the command line
# the menus name with a folder and with a missing path (several items each), and removes the
# package again.
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
lintian --fail-on error,warning "$deb"
trap 'apt-get remove -y -qq --purge tarnwipe > /dev/null 2>&1 || true' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" > /dev/null
desktop-file-validate /usr/share/applications/org.tarnwipe.tarnwipe.desktop
appstreamcli validate --pedantic --no-net /usr/share/metainfo/org.tarnwipe.tarnwipe.metainfo.xml
man -w tarnwipe > /dev/null
test -f /usr/share/icons/hicolor/scalable/apps/org.tarnwipe.tarnwipe.svg
# The other tests run offscreen; the installed program must open a real window here.
env -u QT_QPA_PLATFORM xvfb-run -a sh -c 'tarnwipe & timeout 20 xdotool search --sync --name "^Tarnwipe" > /dev/null; status=$?; kill $!; exit $status'

# The file managers' menus: Dolphin's service menu and Nemo's action name the program with the
# chosen item. No validator knows their formats, so their keys are checked here.
dolphin=/usr/share/kio/servicemenus/org.tarnwipe.tarnwipe.erase.desktop
nemo=/usr/share/nemo/actions/org.tarnwipe.tarnwipe.nemo_action
for key in '^Type=Service$' '^MimeType=all/allfiles;inode/directory;$' '^Actions=erase;$' '^\[Desktop Action erase\]$' \
  '^Name=Erase with Tarnwipe$' '^Exec=tarnwipe %F$'; do grep -q "$key" "$dolphin" || { echo "$dolphin: no $key"; exit 1; }; done
for key in '^\[Nemo Action\]$' '^Name=Erase with Tarnwipe$' '^Exec=tarnwipe %F$' '^Selection=notnone$' '^Extensions=any;$'; do
  grep -q "$key" "$nemo" || { echo "$nemo: no $key"; exit 1; }
done
grep -q '^Exec=tarnwipe %F$' /usr/share/applications/org.tarnwipe.tarnwipe.desktop
trash=/usr/share/kio/servicemenus/org.tarnwipe.tarnwipe.trash.desktop
for key in '^X-KDE-Protocols=trash$' '^Actions=eraseTrash;$' '^Name=Erase the Trash with Tarnwipe$' '^Exec=tarnwipe --trash$'; do
  grep -q "$key" "$trash" || { echo "$trash: no $key"; exit 1; }
done
grep -q '^Exec=tarnwipe --trash$' /usr/share/applications/org.tarnwipe.tarnwipe.desktop
grep -q '^Exec=tarnwipe --free-space$' /usr/share/applications/org.tarnwipe.tarnwipe.desktop
grep -q '^Exec=tarnwipe --free-space %f$' /usr/share/kio/servicemenus/org.tarnwipe.tarnwipe.freespace.desktop
grep -q '^Exec=tarnwipe --free-space %F$' /usr/share/nemo/actions/org.tarnwipe.tarnwipe.freespace.nemo_action
# Each menu's command line with an existing folder opens the window with no notice; with a path
# that is gone the notice shows, so the item reached the program.
menu_notice() {
  local command; command=$(sed -n 's/^Exec=//p' "$1"); command=${command/\%F/$2}
  env -u QT_QPA_PLATFORM xvfb-run -a sh -c "$command & timeout 20 xdotool search --sync --name '^Tarnwipe' > /dev/null;
    sleep 1; xdotool search --name '^Tarnwipe version2\$' > /dev/null; status=\$?; kill \$!; exit \$status"
}
item=$(mktemp -d)
for menu in "$dolphin" "$nemo"; do
  ! menu_notice "$menu" "$item $item/.." || { echo "$menu: a notice for existing folders"; exit 1; }
  menu_notice "$menu" "$item $item/gone" || { echo "$menu: no notice for a missing path"; exit 1; }
done
rmdir "$item"
apt-get remove -y -qq --purge tarnwipe > /dev/null
! command -v tarnwipe && test ! -e /usr/share/applications/org.tarnwipe.tarnwipe.desktop && test ! -e "$dolphin" && test ! -e "$nemo" && test ! -e "$trash"
echo "installed, validated, started and removed"
