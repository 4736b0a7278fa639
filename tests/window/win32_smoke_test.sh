#!/usr/bin/env bash
# Drives the Windows program under Wine on the display in DISPLAY: types a pass count, chooses a
# folder of its own through the folder dialog by keys, confirms, and checks that the files are
# gone and that the closing line in the message area says so; then starts it again with a folder
# named on its command line, as Explorer's menu does, and erases that. Skips (77) without a
# display or xdotool.
set -euo pipefail
exe=$1 reader=$2
[ -n "${DISPLAY:-}" ] && command -v xdotool > /dev/null || { echo "no display or xdotool: skipped"; exit 77; }

source "$(dirname "$0")/win32_window_keys.sh"

make_map tarnwipe-smoke
wine "$exe" & pid=$!
trap 'kill $pid 2> /dev/null || true; rm -rf "$map"' EXIT

focus '^Tarnwipe - '
# The pass count takes digits only, 25 at most; its label's access key leads to it.
xdotool key --delay 100 alt+o End BackSpace BackSpace && xdotool type --delay 80 '3a -0'
[ "$(wine "$reader" pass-count)" = "25" ] || { echo "pass count: $(wine "$reader" pass-count)"; exit 1; }
xdotool key alt+m
# Desktop > My Computer > (C:) > tarnwipe-smoke, by the tree's own keys.
focus '^Browse for Folder$' 60 70
xdotool type --delay 80 'My'
xdotool key --delay 300 Right Down Right
xdotool type --delay 80 'tarnwipe-smoke'
xdotool key Return
erase_chosen tarnwipe-smoke
kill $pid; wait $pid 2> /dev/null || true

make_map tarnwipe-handed
wine "$exe" 'C:\tarnwipe-handed' & pid=$!
erase_chosen tarnwipe-handed
