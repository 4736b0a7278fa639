#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds Tarnwipe, then runs it ("run"), its tests ("test")
# or builds its Debian package ("package").
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev xfsprogs e2fsprogs btrfs-progs dpkg-dev desktop-file-utils
  appstream xvfb xauth xdotool)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build

case "${1:-}" in
  run)
    exec build/tarnwipe
    ;;
  test)
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300
    ;;
  package)
    cd build
    cpack -G DEB
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
