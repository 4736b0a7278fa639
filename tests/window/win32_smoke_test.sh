#!/usr/bin/env bash
# Drives the Windows program under Wine on the display in DISPLAY: types a pass count, chooses a
# folder of its own through the folder dialog by keys, confirms, and checks that the files are
# gone and that the closing line in the message area says so; then starts it again with a folder
# named on its command line, as Explorer's menu does, and erases that; last, starts it eight
# times with one item each, as Explorer does for a selection, and erases all eight through the
# one window they make; and a map whose path is longer than 260 characters, handed on the command
# line; last, a Recycle Bin laid out as Windows lays it out, erased by "--trash" as the Recycle
# Bin's own menu starts it, each item shown by where it came from. Skips (77) without a display or
# xdotool.
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
kill $pid; wait $pid 2> /dev/null || true

# Eight starts, one item each: six files (one of them inside a chosen map) and two maps.
map="$(winepath -u 'C:\' 2> /dev/null)/tarnwipe-eight"
rm -rf "$map" && mkdir -p "$map/m1/s" "$map/m2"
for name in f1 f2 f3 f4 f5 m1/a m1/s/b m2/c; do printf '%s\n' "$name" > "$map/$name"; done
pids=()
for item in f1 f2 f3 f4 f5 'm1\s\b' m1 m2; do wine "$exe" "C:\\tarnwipe-eight\\$item" & pids+=($!); sleep 0.1; done
trap 'kill "${pids[@]}" 2> /dev/null || true; rm -rf "$map"' EXIT
focus '^Tarnwipe - '
for _ in $(seq 1 50); do [ "$(wine "$reader" erase-button)" = "&Erase 8 items" ] && break; sleep 0.2; done
[ "$(wine "$reader" erase-button)" = "&Erase 8 items" ] || { echo "one window, 8 items: $(wine "$reader" erase-button)"; exit 1; }
running=0
for p in "${pids[@]}"; do kill -0 "$p" 2> /dev/null && running=$((running + 1)); done
[ "$running" = 1 ] || { echo "$running programs still running, one window expected"; exit 1; }
xdotool key alt+e
focus '^Tarnwipe version2$'
xdotool key Return
for _ in $(seq 1 100); do [ -n "$(ls -A "$map")" ] && sleep 0.2; done
[ -z "$(ls -A "$map")" ] || { echo "left:"; find "$map"; exit 1; }
text=$(wine "$reader" message-area | tr -d '\r')
[[ $(head -1 <<< "$text") =~ ^Erased\ 8\ file\(s\)\ and\ 3\ folder\(s\)\; ]] || { echo "$text"; exit 1; }
kill "${pids[@]}" 2> /dev/null || true; wait 2> /dev/null || true

# A map whose full path is 320 characters long, its lines whole in the message area.
long="tarnwipe-long\\$(printf 'a%.0s' $(seq 150))\\$(printf 'b%.0s' $(seq 150))"
map="$(winepath -u 'C:\' 2> /dev/null)/${long//\\//}"
mkdir -p "$map" && printf 'deep\n' > "$map/deep.txt"
trap 'kill $pid 2> /dev/null || true; rm -rf "$(winepath -u "C:\\tarnwipe-long" 2> /dev/null)"' EXIT
wine "$exe" "C:\\$long" & pid=$!
confirm_erase "&Erase map $(printf 'b%.0s' $(seq 150))" "$map"
wine "$reader" message-area | tr -d '\r' | grep -qxF "Erasing files in C:\\$long\\" || { echo "no whole line for the long map"; exit 1; }
kill $pid; wait $pid 2> /dev/null || true

# The Recycle Bin of the prefix's user: two items, a file and a folder, each with its record of
# where it came from, beside the folder's desktop.ini, which stays.
sid=$(wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\ProfileList' | tr -d '\r' | grep -o 'S-1-5-21-[0-9-]*' | head -1)
bin="$(winepath -u 'C:\' 2> /dev/null)/\$Recycle.Bin/$sid"
rm -rf "$bin" && mkdir -p "$bin/\$RCD34" && printf '[.ShellClassInfo]\r\n' > "$bin/desktop.ini"
head -c 3000 /dev/urandom > "$bin/\$RAB12.txt" && printf 'inner\n' > "$bin/\$RCD34/inner.txt"
record() { # a record of version 2: version, size, time, the length of the path and the path in UTF-16
  { printf '\x02\0\0\0\0\0\0\0'; head -c 16 /dev/zero; printf "\\x$(printf %02x $((${#1} + 1)))\0\0\0"; printf '%s\0' "$1" | iconv -t UTF-16LE; }
}
record 'C:\users\me\secret.txt' > "$bin/\$IAB12.txt"
record 'C:\users\me\old project' > "$bin/\$ICD34"
wine "$exe" --trash & pid=$!
trap 'kill $pid 2> /dev/null || true; rm -rf "$bin"' EXIT
confirm_erase "&Erase the Recycle Bin" "$bin/\$RAB12.txt"
# The items go in the order the bin lists them: the last may still be under way.
for _ in $(seq 1 150); do [ "$(ls -A "$bin")" = desktop.ini ] && break; sleep 0.2; done
[ "$(ls -A "$bin")" = desktop.ini ] || { echo "left in the Recycle Bin:"; ls -A "$bin"; exit 1; }
for _ in $(seq 1 25); do
  text=$(wine "$reader" message-area | tr -d '\r')
  [[ $(head -1 <<< "$text") =~ ^Erased ]] && break
  sleep 0.2
done
[[ $(head -1 <<< "$text") =~ ^Erased\ 4\ file\(s\)\ and\ 1\ folder\(s\)\; ]] || { echo "$text"; exit 1; }
grep -qxF 'Erasing C:\users\me\secret.txt  [3,000 bytes]' <<< "$text" || { echo "items not shown by where they came from: $text"; exit 1; }
