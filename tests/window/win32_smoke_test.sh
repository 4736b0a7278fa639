#!/usr/bin/env bash
# Drives the Windows program under Wine on the display in DISPLAY: types a pass count, chooses a
# folder of its own through the folder dialog by keys, confirms, and checks that the files are
# gone and that the closing line in the message area says so; then starts it again with a folder
# named on its command line, as Explorer's menu does, and erases that. Skips (77) without a
# display or xdotool.
set -euo pipefail
exe=$1 reader=$2
[ -n "${DISPLAY:-}" ] && command -v xdotool > /dev/null || { echo "no display or xdotool: skipped"; exit 77; }

# Waits up to 20 s for a window titled like $1 and gives it the keyboard; with $2 and $3 it also
# clicks there, for a control that Wine gives the keyboard only when clicked.
focus() {
  local window X Y WIDTH HEIGHT SCREEN
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1)
  xdotool windowfocus --sync "$window"
  sleep 0.5
  [ $# -eq 3 ] || return 0
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
  sleep 0.3
}

# Makes the test's map $1 below C:.
make_map() {
  map="$(winepath -u 'C:\' 2> /dev/null)/$1"
  rm -rf "$map"
  mkdir -p "$map/sub" && printf 's\n' > "$map/sub/s.txt"
  for i in 1 2 3; do head -c 3000 /dev/urandom > "$map/f$i.bin"; done
}

# Confirms the erase of the map $1 once the window names it, and checks what the window says.
erase_chosen() {
  focus '^Tarnwipe - '
  # Nothing is confirmed unless the window names the map this test made.
  caption=$(wine "$reader" erase-button)
  [ "$caption" = "&Erase map $1" ] || { echo "not the test's map chosen: $caption"; exit 1; }
  xdotool key alt+e
  focus '^Tarnwipe version2$'
  xdotool key Return
  for _ in $(seq 1 100); do [ -e "$map" ] && sleep 0.2; done
  [ ! -e "$map" ] || { echo "the map is still there:"; find "$map"; exit 1; }
  text=$(wine "$reader" message-area | tr -d '\r')
  echo "$text"
  [[ $(head -1 <<< "$text") =~ ^Erased\ 4\ file\(s\)\ and\ 2\ folder\(s\)\;\ \ 8\.79\ kBytes\ in\ [0-9.]+\ seconds ]]
}

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
