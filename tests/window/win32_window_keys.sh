# Shared by the tests that drive the Windows program under Wine by keys: sourced, with $reader
# naming read_window_text.exe; make_map sets $map.

# Waits up to 20 s for a window titled like $1 and gives it the keyboard; with $2 and $3 it also
# clicks there, for a control that Wine gives the keyboard only when clicked. A search that meets
# a window Wine drops meanwhile fails (BadWindow): it is made again.
focus() {
  local window='' X Y WIDTH HEIGHT SCREEN
  for _ in $(seq 1 40); do
    window=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -1) || true
    [ -n "$window" ] && timeout 5 xdotool windowfocus --sync "$window" 2> /dev/null && break
    window=''
    sleep 0.5
  done
  [ -n "$window" ] || { echo "no window titled like $1" >&2; exit 1; }
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

# Confirms the erase once the window's button reads $1, and waits up to 30 s for the path $2 to go.
# Nothing is confirmed unless the window names the test's own target within 10 s.
confirm_erase() {
  focus '^Tarnwipe - '
  for _ in $(seq 1 30); do caption=$(wine "$reader" erase-button) && [ "$caption" = "$1" ] && break; sleep 0.2; done
  [ "$caption" = "$1" ] || { echo "not the test's target chosen: $caption" >&2; exit 1; }
  xdotool key alt+e
  focus '^Tarnwipe version2$'
  xdotool key Return
  for _ in $(seq 1 150); do [ -e "$2" ] && sleep 0.2; done
  [ ! -e "$2" ] || { echo "still there:" >&2; find "$2" >&2; exit 1; }
}

# Erases the map $1 made by make_map, and checks what the window says.
erase_chosen() {
  confirm_erase "&Erase map $1" "$map"
  text=$(wine "$reader" message-area | tr -d '\r')
  echo "$text"
  [[ $(head -1 <<< "$text") =~ ^Erased\ 4\ file\(s\)\ and\ 2\ folder\(s\)\;\ \ 8\.79\ kBytes\ in\ [0-9.]+\ seconds ]]
}
