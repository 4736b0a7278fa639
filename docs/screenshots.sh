#!/usr/bin/env bash
# Takes the pictures the README, the docs and the AppStream data show, from the real program on a
# virtual display (Xvfb, no window manager, so without a frame): the Linux window with a folder
# chosen and after its erase, and the Windows window under Wine with the same folder chosen.
# Usage: docs/screenshots.sh   (from a build made by ./build.sh test; the Windows picture is left
# out when build-win holds no tarnwipe.exe)
set -euo pipefail
top=$(dirname "$(readlink -f "$0")")/..
cd "$top"
out=docs/screenshots
cmake --build build --target tarnwipe grab_window > /dev/null

work=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5> "$work/display" 2> /dev/null & xvfb=$!
pids=()
trap 'kill "${pids[@]}" 2> /dev/null; wineserver -k 2> /dev/null || true; kill $xvfb; rm -rf "$work"' EXIT
for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
unset QT_QPA_PLATFORM

# A folder such as a user erases: some documents and a subfolder.
sample() {
  mkdir -p "$1/Scans"
  for name in "Tax return 2025.pdf" "Bank statements.xlsx" "Notes.txt" "Scans/Passport.jpg" "Scans/Contract.jpg"; do
    head -c 300000 /dev/urandom > "$1/$name"
  done
}
# Waits for a window titled like $1 and gives it the keyboard (no window manager does).
focus() {
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1)
  xdotool windowfocus --sync "$window"
  sleep 1
}
# Saves the window titled like $1 as $2.
grab() {
  focus "$1"
  build/docs/grab_window "$window" "$out/$2"
  echo "$out/$2"
}

sample "$work/Private letters"
build/tarnwipe "$work/Private letters" & pids+=($!)
grab '^Tarnwipe - ' window-chosen.png
xdotool key alt+e
focus '^Tarnwipe version2$'
xdotool key Return
for _ in $(seq 1 100); do [ -e "$work/Private letters" ] && sleep 0.2; done
grab '^Tarnwipe - ' window-after-run.png
kill "${pids[@]}"

if [ -f build-win/tarnwipe.exe ]; then
  export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i 2> /dev/null
  map="$(winepath -u 'C:\' 2> /dev/null)/Private letters"
  sample "$map"
  wine build-win/tarnwipe.exe 'C:\Private letters' & pids+=($!)
  grab '^Tarnwipe - ' window-windows.png
fi
