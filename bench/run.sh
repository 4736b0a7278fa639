#!/usr/bin/env bash
# Sets Tarnwipe against the erasers Debian ships, on the same disk and in one run:
#   file   one 1 GiB file, default count (6 passes), against dd x6, shred -n 6, wipe -Q 6, srm -l
#   tree   10,000 files of 1 KiB and of 4 KiB in 100 folders, against a plain floor (open, six
#          whole-file writes each followed by fdatasync, unlink) in alternating rounds, then
#          4 KiB files against the same peers
#   walk   100,000 files in 1,000 folders, walked by CDirDrill against find | wc -l
#   flat   a folder run over 100,000 files in 100 folders (count 0): first against last ten folders
#          (10,000 files each)
#   sparse an 8 GiB sparse file holding 8 MiB against an 8 MiB dense file, alternating
#   items  100 files of 64 KiB chosen as 100 items against the same files as one map, alternating;
#          then 100 starts of the program, one file each, until the open window lists them all
#   trash  1,000 files of 4 KiB put in the Trash by trash-put, erased with the Trash, against the
#          same files as one map, alternating; then on an ext4 image, three trashed files erased by
#          Tarnwipe, bleachbit (overwrite on) and trash-empty: how many of their content markers and
#          original paths a raw scan finds afterwards
#   free   the free space of a 1 GiB ext4 image, one pass, against dd filling it with zeros (then
#          sync and rm), alternating; then on ext4, XFS, NTFS, exFAT and FAT32 images, files removed
#          by rm before Tarnwipe, dd, sfill -l -l and bleachbit --wipe-free-space: the seconds, how
#          many content markers of the removed files a raw scan finds afterwards, and how many of
#          their six names a raw scan finds and fls lists
#   names  on NTFS, exFAT, FAT32 and ext4 images: a map holding a subfolder and three files, and a
#          single file, all with telling names, erased by Tarnwipe and by the peers; how many of the
#          six names a raw scan finds and The Sleuth Kit's fls lists afterwards
# Usage: bench/run.sh [file|tree|walk|flat|sparse|items|trash|free|names ...]   (all but names,
# trash and free when none is named)
# BENCH_DIR chooses the disk (default: build/bench-data in the checkout).
set -euo pipefail
top=$(dirname "$(readlink -f "$0")")/..
cd "$top"

missing=()
for package in secure-delete wipe bc python3 sleuthkit ntfs-3g exfat-fuse exfatprogs fusefat dosfstools trash-cli bleachbit; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target erase_bench walk_bench plain_floor handoff_bench >/dev/null

data=${BENCH_DIR:-$top/build/bench-data}
mkdir -p "$data"
export QT_QPA_PLATFORM=offscreen

now() { date +%s.%N; }
ratio() { printf "%.2f" "$(echo "scale=4; $1 / $2" | bc)"; }
# Runs a command and prints the seconds it took.
timed() { local s; s=$(now); "$@" >/dev/null 2>&1; printf "%.3f" "$(echo "$(now) - $s" | bc)"; }
tarnwipe_seconds() { build/bench/erase_bench "$@" 2>/dev/null | sed -n 's/^seconds //p'; }

make_file() { dd if=/dev/zero of="$data/big.bin" bs=4M count=256 conv=fdatasync status=none; }
make_tree() {
  rm -rf "$data/tree"
  python3 - "$data/tree" "$1" "$2" "$3" <<'PY'
import os, sys
root, folders, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
block = os.urandom(size)
for d in range(folders):
    folder = os.path.join(root, "d%04d" % d)
    os.makedirs(folder)
    for f in range(files):
        with open(os.path.join(folder, "f%05d.dat" % f), "wb") as out:
            out.write(block)
PY
  sync
}
table() { printf '%-34s %10s %16s\n' "$@"; }
# One row of a table: a tool, its seconds and Tarnwipe's seconds ($tw) against them.
row() { table "$1" "$2" "$(ratio "$tw" "$2")"; }

# The median of the numbers given.
median() { printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

bench_file() {
  echo "== one 1 GiB file, 6 passes, each flushed =="
  local ratios=() tws=() dds=() out
  for _ in $(seq 1 "${ROUNDS:-5}"); do
    make_file; out=$(build/bench/erase_bench file "$data/big.bin" 5 2>/dev/null)
    tw=$(echo "$out" | sed -n 's/^seconds //p')
    make_file; local limit; limit=$(timed bash -c "for i in 1 2 3 4 5 6; do dd if=/dev/zero of='$data/big.bin' bs=4M count=256 conv=notrunc,fdatasync status=none; done")
    tws+=("$tw"); dds+=("$limit"); ratios+=("$(ratio "$tw" "$limit")")
  done
  echo "$out" | sed -n 's/^longest/Tarnwipe: longest/p'
  printf '%-34s %s\n' "Tarnwipe seconds" "${tws[*]}" "dd zeros x6, fdatasync seconds" "${dds[*]}"
  printf '%-34s %s (median %s)\n' "Tarnwipe/dd" "${ratios[*]}" "$(median "${ratios[@]}")"
  local sh; sh=$(timed shred -n 6 -u "$data/big.bin"); make_file
  local wi; wi=$(timed wipe -f -q -Q 6 "$data/big.bin"); make_file
  local sr; sr=$(timed srm -l "$data/big.bin")
  rm -f "$data/big.bin"
  table "tool" "seconds" "Tarnwipe/tool"
  row "Tarnwipe (6 passes, last round)" "$tw"
  row "shred -n 6 -u" "$sh"
  row "wipe -f -q -Q 6" "$wi"
  row "srm -l (2 passes)" "$sr"
}


# Tarnwipe against the plain floor on 10,000 files of $1 bytes, alternating for ROUNDS rounds
# (default 5): the seconds of each and the median of the per-round ratios.
floor_rounds() {
  local ratios=() tws=() fls=()
  for _ in $(seq 1 "${ROUNDS:-5}"); do
    make_tree 100 100 "$1"; local t; t=$(tarnwipe_seconds tree "$data/tree" 5)
    make_tree 100 100 "$1"; local f; f=$(build/bench/plain_floor "$data/tree" | sed -n 's/^seconds //p')
    tws+=("$t"); fls+=("$f"); ratios+=("$(ratio "$t" "$f")")
  done
  printf '%-34s %s\n' "$1 bytes, Tarnwipe seconds" "${tws[*]}"
  printf '%-34s %s\n' "$1 bytes, floor seconds" "${fls[*]}"
  printf '%-34s %s (median %s)\n' "$1 bytes, Tarnwipe/floor" "${ratios[*]}" "$(median "${ratios[@]}")"
}

bench_tree() {
  echo "== 10,000 files in 100 folders, 6 passes, against the plain floor =="
  floor_rounds 1024
  floor_rounds 4096
  echo "== 10,000 files of 4 KiB in 100 folders, 6 passes =="
  make_tree 100 100 4096; tw=$(tarnwipe_seconds tree "$data/tree" 5)
  make_tree 100 100 4096; local sh; sh=$(timed bash -c "find '$data/tree' -type f -exec shred -n 6 -u {} + && rm -r '$data/tree'")
  make_tree 100 100 4096; local wi; wi=$(timed wipe -r -f -q -Q 6 "$data/tree")
  make_tree 100 100 4096; local sr; sr=$(timed srm -r -l "$data/tree")
  make_tree 100 100 4096; local rr; rr=$(timed bash -c "rm -rf '$data/tree' && sync")
  table "tool" "seconds" "Tarnwipe/tool"
  row "Tarnwipe (6 passes)" "$tw"
  row "shred -n 6 -u (then rm -r)" "$sh"
  row "wipe -r -f -q -Q 6" "$wi"
  row "srm -r -l (2 passes)" "$sr"
  row "rm -rf, then sync (no overwrite)" "$rr"
}

bench_walk() {
  echo "== walk of 100,000 files in 1,000 folders =="
  make_tree 1000 100 0
  local find_s; find_s=$(timed bash -c "find '$data/tree' -type f | wc -l")
  local out; out=$(build/bench/walk_bench "$data/tree")
  rm -rf "$data/tree"
  table "tool" "seconds" "CDirDrill/tool"
  table "CDirDrill ($(echo "$out" | cut -d' ' -f2) files, $(echo "$out" | cut -d' ' -f3) folders)" "$(echo "$out" | cut -d' ' -f1)" "1.00"
  table "find -type f | wc -l" "$find_s" "$(ratio "$(echo "$out" | cut -d' ' -f1)" "$find_s")"
}

bench_flat() {
  echo "== folder run over 100,000 files (count 0): cost per file as the message area fills =="
  make_tree 100 1000 16
  build/bench/erase_bench tree "$data/tree" 0 2>/dev/null | sed -n '3,4p'
  rm -rf "$data/tree"
}

bench_sparse() {
  echo "== an 8 GiB sparse file holding 8 MiB against an 8 MiB dense file, 6 passes =="
  local ratios=() sps=() dns=()
  for _ in $(seq 1 "${ROUNDS:-5}"); do
    rm -f "$data/sparse.img"
    for i in 0 1 2 3 4 5 6 7; do
      dd if=/dev/urandom of="$data/sparse.img" bs=1M count=1 seek=$((i * 1024)) conv=notrunc status=none
    done
    truncate -s 8G "$data/sparse.img" && sync
    local s; s=$(tarnwipe_seconds file "$data/sparse.img" 5)
    dd if=/dev/urandom of="$data/dense.bin" bs=1M count=8 status=none && sync
    local d; d=$(tarnwipe_seconds file "$data/dense.bin" 5)
    sps+=("$s"); dns+=("$d"); ratios+=("$(ratio "$s" "$d")")
  done
  printf '%-34s %s\n' "8 GiB sparse, seconds" "${sps[*]}" "8 MiB dense, seconds" "${dns[*]}"
  printf '%-34s %s (median %s)\n' "sparse/dense" "${ratios[*]}" "$(median "${ratios[@]}")"
}

bench_items() {
  echo "== 100 files of 64 KiB, 6 passes: as 100 items against as one map =="
  local ratios=() its=() maps=()
  for _ in $(seq 1 "${ROUNDS:-5}"); do
    make_tree 1 100 65536; local i; i=$(tarnwipe_seconds items "$data/tree/d0000" 5)
    make_tree 1 100 65536; local m; m=$(tarnwipe_seconds tree "$data/tree/d0000" 5)
    its+=("$i"); maps+=("$m"); ratios+=("$(ratio "$i" "$m")")
  done
  rm -rf "$data/tree"
  printf '%-34s %s\n' "100 items, seconds" "${its[*]}" "one map, seconds" "${maps[*]}"
  printf '%-34s %s (median %s)\n' "items/map" "${ratios[*]}" "$(median "${ratios[@]}")"
  echo "== 100 starts with one file each, handed to the open window =="
  mkdir -p "$data/handoff"
  for _ in $(seq 1 "${ROUNDS:-5}"); do build/bench/handoff_bench "$data/handoff" 100 | tr '\n' ' '; echo; done
  rmdir "$data/handoff"
}

# Puts 1,000 files of 4 KiB in a home Trash of the bench's own, under $data/xdg.
trash_thousand() {
  rm -rf "$data/xdg" && make_tree 1 1000 4096
  XDG_DATA_HOME=$data/xdg trash-put "$data/tree/d0000/"* && sync
}

bench_trash() {
  echo "== 1,000 files of 4 KiB, 6 passes: in the Trash (with their records) against as one map =="
  local ratios=() trs=() maps=()
  for _ in $(seq 1 "${ROUNDS:-5}"); do
    trash_thousand; local t; t=$(XDG_DATA_HOME=$data/xdg tarnwipe_seconds trash "$data" 5)
    make_tree 1 1000 4096; local m; m=$(tarnwipe_seconds tree "$data/tree/d0000" 5)
    trs+=("$t"); maps+=("$m"); ratios+=("$(ratio "$t" "$m")")
  done
  rm -rf "$data/tree" "$data/xdg"
  printf '%-34s %s\n' "the Trash, seconds" "${trs[*]}" "one map, seconds" "${maps[*]}"
  printf '%-34s %s (median %s)\n' "Trash/map" "${ratios[*]}" "$(median "${ratios[@]}")"
  # The Trash run erases each item's record too: twice the files of the map.
  printf '%-34s %.2f\n' "Trash/map per file erased" "$(echo "scale=4; $(median "${ratios[@]}") / 2" | bc)"
  echo "== three trashed files on ext4: content markers / original paths a raw scan finds afterwards =="
  local img=$data/trash.img mnt=$data/trash-mnt tool
  for tool in tarnwipe "bleachbit -o" trash-empty; do
    rm -f "$img" && truncate -s 64M "$img" && mkfs.ext4 -q "$img" && mkdir -p "$mnt" && mount -o loop "$img" "$mnt"
    local markers=() name
    for name in divorcesettlement.txt taxreturns.doc passwordlist.bin; do
      local marker="TARNWIPE-BENCH-$RANDOM$RANDOM-$name|"
      python3 -c "import sys; open(sys.argv[1], 'w').write(sys.argv[2] * 4000)" "$mnt/$name" "$marker"
      markers+=("$marker")
      HOME=$mnt XDG_DATA_HOME=$mnt/.local/share trash-put "$mnt/$name"
    done
    sync
    case $tool in
      tarnwipe) XDG_DATA_HOME=$mnt/.local/share tarnwipe_seconds trash "$mnt" 5 >/dev/null ;;
      bleachbit*) HOME=$mnt XDG_DATA_HOME=$mnt/.local/share bleachbit --clean system.trash -o >/dev/null 2>&1 ;;
      trash-empty) HOME=$mnt XDG_DATA_HOME=$mnt/.local/share trash-empty >/dev/null 2>&1 ;;
    esac
    umount "$mnt"
    printf '%-16s ' "$tool"
    python3 - "$img" "$mnt" "${markers[@]}" <<'PY3'
import os, sys
raw = open(sys.argv[1], 'rb').read()
markers = sys.argv[3:]
found = sum(raw.count(m.encode()) for m in markers)
paths = sum((os.path.realpath(sys.argv[2]) + "/" + m.split("-")[-1].rstrip("|")).encode() in raw for m in markers)
print("markers %6d   original paths %d of 3" % (found, paths))
PY3
  done
  rm -f "$img"
}

bench_free() {
  echo "== the free space of a 1 GiB ext4 image, one pass, against dd zeros, sync, rm =="
  local img=$data/free.img mnt=$data/free-mnt ratios=() tws=() dds=()
  rm -f "$img" && truncate -s 1G "$img" && mkfs.ext4 -q "$img" && mkdir -p "$mnt" && mount -o loop "$img" "$mnt"
  for _ in $(seq 1 "${ROUNDS:-5}"); do
    local t; t=$(tarnwipe_seconds free "$mnt" 0)
    local d; d=$(timed bash -c "dd if=/dev/zero of='$mnt/zeros' bs=1M status=none; sync; rm '$mnt/zeros'; sync")
    tws+=("$t"); dds+=("$d"); ratios+=("$(ratio "$t" "$d")")
  done
  umount "$mnt" && rm -f "$img"
  printf '%-34s %s\n' "Tarnwipe seconds" "${tws[*]}" "dd zeros, sync, rm seconds" "${dds[*]}"
  printf '%-34s %s (median %s)\n' "Tarnwipe/dd" "${ratios[*]}" "$(median "${ratios[@]}")"
  echo "== files of 300 B, 600 B, 5 KiB and 3 MiB and six telling names removed by rm, then:"
  echo "   seconds / content markers left of 4 / names left by raw scan / names fls lists =="
  printf '%-28s %22s %22s %22s %22s %22s\n' tool ext4 xfs ntfs exfat vfat
  local tool fs row
  for tool in tarnwipe dd "sfill -l -l" "bleachbit --wipe-free-space"; do
    row=()
    for fs in ext4 xfs ntfs exfat vfat; do
      names_image "$fs"
      local m=$data/names-mnt markers=() size
      for size in 300 600 5120 3145728; do
        local marker="TARNWIPE-FREE-$RANDOM$RANDOM-$size|"
        python3 -c "import sys; s = sys.argv[2] * (int(sys.argv[3]) // len(sys.argv[2]) + 1); open(sys.argv[1], 'w').write(s[:int(sys.argv[3])])" \
          "$m/removed-$size" "$marker" "$size"
        markers+=("$marker")
      done
      sync && rm -r "$m"/removed-* "$m"/taxoffshore2025 "$m"/hiddenaccounts.xlsx && sync
      local s; s=$(now)
      case $tool in
        tarnwipe) tarnwipe_seconds free "$m" 0 >/dev/null ;;
        dd) { dd if=/dev/zero of="$m/zeros" bs=1M status=none || true; sync; rm "$m/zeros"; sync; } 2>/dev/null ;;
        sfill*) sfill -l -l "$m" >/dev/null 2>&1 || true ;;
        bleachbit*) bleachbit --wipe-free-space "$m" >/dev/null 2>&1 || true ;;
      esac
      local took; took=$(printf "%.1f" "$(echo "$(now) - $s" | bc)")
      local names; names=$(names_count | tr -d ' ')
      row+=("$took s / $(python3 -c "import sys; raw = open(sys.argv[1], 'rb').read(); print(sum(raw.count(m.encode()) > 0 for m in sys.argv[2:]))" "$data/names.img" "${markers[@]}") / $names")
    done
    printf '%-28s %22s %22s %22s %22s %22s\n' "$tool" "${row[@]}"
  done
  rm -f "$data/names.img"
}

# Makes, mounts and fills an image of type $1 at $data/names.img on $data/names-mnt.
names_image() {
  local img=$data/names.img mnt=$data/names-mnt
  rm -f "$img" && truncate -s "$([ "$1" = xfs ] && echo 320M || echo 64M)" "$img" && mkdir -p "$mnt"
  case $1 in
    xfs) mkfs.xfs -q "$img" && mount -o loop "$img" "$mnt" ;;
    ntfs) mkfs.ntfs -q -F -f "$img" >/dev/null 2>&1 && ntfs-3g "$img" "$mnt" ;;
    exfat) mkfs.exfat "$img" >/dev/null && mount.exfat-fuse "$(losetup -f --show "$img")" "$mnt" ;;
    vfat) mkfs.vfat -F 32 "$img" >/dev/null && fusefat -o rw+ "$img" "$mnt" >/dev/null 2>&1 ;;
    ext4) mkfs.ext4 -q "$img" && mount -o loop "$img" "$mnt" ;;
  esac
  mkdir -p "$mnt/taxoffshore2025/divorcesettlement"
  for f in taxoffshore2025/passwordlist.txt taxoffshore2025/divorcesettlement/loveletterdraft.doc \
           taxoffshore2025/divorcesettlement/therapynotes.pdf hiddenaccounts.xlsx; do
    head -c 3000 /dev/urandom > "$mnt/$f"
  done
  sync
}
# Unmounts the image and prints how many of the six names a raw scan finds (ASCII, UTF-16LE, the
# first five characters in UTF-16 as FAT and exFAT keep a name's pieces, a short name's first six
# letters) and how many fls lists.
names_count() {
  local img=$data/names.img mnt=$data/names-mnt dev
  dev=$(findmnt -n -o SOURCE "$mnt" 2>/dev/null | grep '^/dev/loop' || true)
  umount "$mnt"; sleep 1; [ -n "$dev" ] && losetup -d "$dev" 2>/dev/null
  fls -r -d "$img" > "$data/listed.txt" 2>/dev/null || true
  python3 - "$img" "$data/listed.txt" <<'PY2'
import sys
raw = open(sys.argv[1], 'rb').read().lower()
listed = open(sys.argv[2], errors='replace').read().lower()
names = ["taxoffshore2025", "divorcesettlement", "passwordlist", "loveletterdraft", "therapynotes", "hiddenaccounts"]
def found(n):
    return any(p in raw for p in (n.encode(), n.encode('utf-16-le'), n[:5].encode('utf-16-le'), n[:6].encode() + b'~'))
print(sum(map(found, names)), "/", sum(n in listed for n in names))
PY2
}

bench_names() {
  echo "== names left of a map (subfolder, three files) and a single file: raw scan / fls =="
  printf '%-26s %10s %10s %10s %10s\n' "tool" ntfs exfat vfat ext4
  local tool fs row
  for tool in tarnwipe shred wipe srm; do
    row=()
    for fs in ntfs exfat vfat ext4; do
      names_image "$fs"
      local m=$data/names-mnt
      case $tool in
        tarnwipe) tarnwipe_seconds tree "$m/taxoffshore2025" 5 >/dev/null; tarnwipe_seconds file "$m/hiddenaccounts.xlsx" 5 >/dev/null ;;
        shred) find "$m/taxoffshore2025" "$m/hiddenaccounts.xlsx" -type f -exec shred -u {} + && find "$m/taxoffshore2025" -depth -type d -exec rmdir {} + ;;
        wipe) wipe -rfq "$m/taxoffshore2025" "$m/hiddenaccounts.xlsx" ;;
        srm) srm -r "$m/taxoffshore2025" "$m/hiddenaccounts.xlsx" ;;
      esac >/dev/null 2>&1
      row+=("$(names_count)")
    done
    printf '%-26s %10s %10s %10s %10s\n' "$tool" "${row[@]}"
  done
  rm -f "$data/names.img"
}

for what in "${@:-file tree walk flat sparse items}"; do
  for one in $what; do "bench_$one"; done
done
