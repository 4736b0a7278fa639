#!/usr/bin/env bash
# The Windows installer under Wine: installs it silently and checks the program, its Start-menu
# shortcuts, Explorer's "Erase with Tarnwipe" for files and for folders, the Recycle Bin's own verb and the entry in Apps &
# Features; starts the program as the folder entry does, on a map of the test's own, and erases
# that through the window; then uninstalls and checks that nothing is left. Skips (77) without a
# display or xdotool.
set -euo pipefail
msi=$1 reader=$2 version=$3
[ -n "${DISPLAY:-}" ] && command -v xdotool > /dev/null || { echo "no display or xdotool: skipped"; exit 77; }
source "$(dirname "$0")/win32_window_keys.sh"

drive="$(winepath -u 'C:\' 2> /dev/null)"
installed="$drive/Program Files/Tarnwipe"
uninstall_entry() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2> /dev/null | tr -d '\r' |
    grep -A12 'DisplayName *REG_SZ *Tarnwipe$' || true
}
shortcuts() { find "$drive" \( -ipath '*/Start Menu/Programs/Tarnwipe.lnk' -o -ipath '*/Start Menu/Programs/Erase the Recycle Bin.lnk' \) 2> /dev/null || true; }
bin='HKCR\CLSID\{645FF040-5081-101B-9F08-00AA002F954E}\shell\Tarnwipe'

wine msiexec /i "$(winepath -w "$msi")" /qn
trap 'wine msiexec /x "$(winepath -w "$msi")" /qn > /dev/null 2>&1 || true; rm -rf "${map:-}"' EXIT
test -f "$installed/tarnwipe.exe" || { echo "not installed under Program Files"; exit 1; }
[ "$(shortcuts | wc -l)" = 2 ] || { echo "no Start-menu shortcuts: $(shortcuts)"; exit 1; }
wine reg query 'HKCR\Drive\shell\TarnwipeFreeSpace\command' /ve | tr -d '\r' |
  grep -q 'REG_SZ *"C:\\Program Files\\Tarnwipe\\tarnwipe.exe" --free-space "%1"$' || { echo "no drive verb"; exit 1; }
wine reg query "$bin\command" /ve | tr -d '\r' | grep -q 'REG_SZ *"C:\\Program Files\\Tarnwipe\\tarnwipe.exe" --trash$' ||
  { echo "no Recycle Bin verb"; exit 1; }
uninstall_entry | grep -q "DisplayVersion *REG_SZ *$version$" || { echo "no Apps & Features entry for $version"; exit 1; }
for key in 'HKCR\*\shell\Tarnwipe' 'HKCR\Directory\shell\Tarnwipe'; do
  wine reg query "$key" /v MUIVerb | tr -d '\r' | grep -q 'Erase with Tarnwipe$' || { echo "$key: no menu entry"; exit 1; }
  wine reg query "$key" /v MultiSelectModel | tr -d '\r' | grep -q 'REG_SZ *Player$' || { echo "$key: one item only"; exit 1; }
  verb=$(wine reg query "$key\\command" /ve | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
  [ "$verb" = '"C:\Program Files\Tarnwipe\tarnwipe.exe" "%1"' ] || { echo "$key: runs $verb"; exit 1; }
done

# The folder entry's command line, as Explorer runs it on a folder.
make_map tarnwipe-verb
eval "wine ${verb//%1/C:\\tarnwipe-verb}" & pid=$!
erase_chosen tarnwipe-verb
# The program must be gone before its file can be removed.
wine taskkill /f /im tarnwipe.exe > /dev/null 2>&1 || true
wait $pid 2> /dev/null || true

wine msiexec /x "$(winepath -w "$msi")" /qn
[ ! -e "$installed" ] || { echo "left behind: $(ls "$installed")"; exit 1; }
[ -z "$(shortcuts)" ] || { echo "shortcut left behind"; exit 1; }
[ -z "$(uninstall_entry)" ] || { echo "Apps & Features entry left behind"; exit 1; }
for key in 'HKCR\*\shell\Tarnwipe' 'HKCR\Directory\shell\Tarnwipe' "$bin" 'HKCR\Drive\shell\TarnwipeFreeSpace'; do
  ! wine reg query "$key" > /dev/null 2>&1 || { echo "$key left behind"; exit 1; }
done
echo "installed, checked, erased through the folder entry, uninstalled"
