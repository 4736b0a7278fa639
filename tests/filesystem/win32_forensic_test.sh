#!/usr/bin/env bash
# The Windows program under Wine erases a map and a single file on NTFS, exFAT and FAT32 images,
# and on exFAT the free space where files removed by rm lay; the images are mounted as
# desktops mount sticks (ntfs-3g, exfat-fuse, fusefat) and given to Wine as drive N:. It runs
# through its window: each started with its target on the command line, as Explorer's menu does,
# the question answered by keys and the message area read back. Then the raw image must hold no
# marker of an erased file and no piece of a name from inside the map, and The Sleuth Kit's fls
# must list none, while a control removed by plain rm is found. An image that cannot be mounted
# here skips with one line; without a display, xdotool, root or fls all skip (77).
set -euo pipefail
exe=$1 reader=$2
[ -n "${DISPLAY:-}" ] && command -v xdotool > /dev/null || { echo "no display or xdotool: skipped"; exit 77; }
[ "$(id -u)" = 0 ] && command -v fls > /dev/null || { echo "needs root to mount images, and fls: skipped"; exit 77; }
source "$(dirname "$0")/../window/win32_window_keys.sh"

work=$(mktemp -d) mnt=/nonexistent device='' pid=''
drive="$(dirname "$(winepath -u 'C:\' 2> /dev/null)")/n:"
unmount() {
  rm -f "$drive"
  if mountpoint -q "$mnt"; then umount "$mnt"; fi
  # A FUSE daemon writes its last blocks as it goes.
  for _ in $(seq 1 100); do pgrep -f "(ntfs-3g|fusefat|mount.exfat).* $mnt\$" > /dev/null || break; sleep 0.1; done
  if [ -n "$device" ]; then losetup -d "$device"; fi
  device=''
}
trap '[ -z "$pid" ] || kill $pid 2> /dev/null; unmount; rm -rf "$work"' EXIT

# Makes and mounts an image of type $1 at $mnt; fails where that cannot be done here.
mount_image() {
  img=$work/$1.img mnt=$work/$1
  mkdir -p "$mnt" && truncate -s 64M "$img"
  case $1 in
    ntfs) mkfs.ntfs -q -F -f "$img" && ntfs-3g "$img" "$mnt" ;;
    exfat) mkfs.exfat -c 32K "$img" && device=$(losetup -f --show "$img") && mount.exfat-fuse "$device" "$mnt" ;;
    vfat) mkfs.vfat -F 32 "$img" && fusefat -o rw+ "$img" "$mnt" ;;
  esac > /dev/null 2>&1
}

# Writes $2 bytes of a marker of its own, repeated, to the image's file $1; records the marker.
write_marked() {
  local marker
  marker="TARNWIPE-WIN-MARKER:$(od -An -N8 -tx8 /dev/urandom | tr -d ' ')|"
  mkdir -p "$(dirname "$mnt/$1")"
  head -c "$2" < <(yes "$marker" | tr -d '\n') > "$mnt/$1"
  markers+=("$marker")
}

# Erases the drive's item $1 through the window, its button showing $2, and prints the message
# area once $1 is gone.
erase() {
  wine "$exe" "N:\\$1" & pid=$!
  # This runs in a subshell of its own: a failed erase must not leave the program behind it.
  trap 'kill $pid 2> /dev/null || true' EXIT
  confirm_erase "$2" "$mnt/$1"
  wine "$reader" message-area | tr -d '\r'
  kill $pid; wait $pid 2> /dev/null || true
  pid=''
}

# Prints those of the markers and names given that the raw image $1 holds, read once: a marker as
# written, a name as the five characters after its fifth in UTF-16, as FAT, exFAT and NTFS keep
# names.
found_on_image() {
  perl -e 'local $/; open(my $f, "<", shift) or die; my $d = <$f>;
    for (@ARGV) { my $s = /^TARNWIPE/ ? $_ : join("", map { "$_\0" } split(//, substr($_, 5, 5))); print "$_\n" if index($d, $s) >= 0 }' "$@"
}

names=(singleconfession wiretransfers confidentialmemo divorcesettlement offshorefolder taxreturns hiddenaccounts passwordlist medicalrecords therapynotes loveletterdraft)
for type in ntfs exfat vfat; do
  if ! mount_image $type; then echo "$type: cannot mount here, skipped"; unmount; continue; fi
  markers=()
  write_marked tree/divorcesettlement.txt 1500
  write_marked tree/offshorefolder/taxreturns.doc 70000
  write_marked tree/offshorefolder/hiddenaccounts/passwordlist.bin 8192
  write_marked tree/medicalrecords/therapynotes.txt 300
  write_marked tree/medicalrecords/loveletterdraft.txt 700
  write_marked tree/medicalrecords/x 600
  write_marked singleconfession.txt 900
  write_marked controlremovedbyrm.bin 700
  # Enough names that an NTFS folder keeps them in several index blocks (not on FAT32, where
  # fusefat takes a third of a second a file).
  many=$([ $type = vfat ] && echo 0 || echo 100)
  for i in $(seq 1 $many); do : > "$mnt/tree/offshorefolder/confidentialmemo$i"; done
  control=${markers[-1]}
  unset 'markers[-1]'
  sync
  ln -sfn "$mnt" "$drive"
  text=$(erase tree '&Erase map tree')
  [[ $(head -1 <<< "$text") =~ ^Erased\ $((6 + many))\ file\(s\)\ and\ 4\ folder\(s\)\; ]] || { echo "$type: $text"; exit 1; }
  text+=$(erase singleconfession.txt '&Erase file singleconfession.txt')
  [[ "$text" != *"may remain"* && "$text" != *"Could not"* ]] || { echo "$type: $text"; exit 1; }
  [[ $type != ntfs || "$text" == *"Warning: NTFS (names in folder indexes) keeps old copies"* ]] || { echo "$type: NTFS's names untold: $text"; exit 1; }
  # Files removed by rm before are reached by a free-space run, on exFAT (through Wine, the small
  # fillers of NTFS take too long for the suite, and fusefat writes a stick's free space too
  # slowly).
  if [ $type = exfat ]; then
    write_marked keptfolder/wiretransfers.bin 5120
    write_marked keptfolder/wiretransfers.img 3145728
    write_marked keptfolder/wiretransfers.txt 300
    sync
    rm "$mnt"/keptfolder/wiretransfers.*
    disk='N:\'
    wine "$exe" --free-space "$disk" & pid=$!
    confirm_erase "&Erase free space of $disk" "$mnt/.tarnwipe-free-space"
    for _ in $(seq 1 300); do
      text=$(wine "$reader" message-area | tr -d '\r')
      [[ "$text" =~ (Erased free space|Could not erase the free space|Stopped: the free space) ]] && break
      sleep 0.5
    done
    kill $pid; wait $pid 2> /dev/null || true
    pid=''
    [[ "$text" == "Erased free space of $disk: "* ]] || { echo "$type: $text"; exit 1; }
  fi
  rm "$mnt/controlremovedbyrm.bin"
  unmount
  listed=$(fls -r -d "$img")
  found=$(found_on_image "$img" "$control" controlremovedbyrm "${markers[@]}" "${names[@]}")
  [ "$found" = "$control"$'\n'controlremovedbyrm ] || { echo "$type: found on the raw image, the control's marker and name expected alone: $found"; exit 1; }
  for name in "${names[@]}"; do [[ "$listed" != *"$name"* ]] || { echo "$type: fls lists $name"; exit 1; }; done
  echo "$type: no marker and no name from inside the map found; the control's are"
done
