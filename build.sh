#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds Tarnwipe, then runs it ("run"), its tests ("test"),
# builds its Debian package ("package") or the Windows program ("windows").
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev xfsprogs e2fsprogs btrfs-progs dpkg-dev desktop-file-utils
  appstream lintian xvfb xauth xdotool g++-mingw-w64-x86-64-posix wine wine64
  ntfs-3g exfat-fuse exfatprogs fusefat dosfstools fuse3 libfuse3-dev pkg-config wixl icoutils sleuthkit trash-cli)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Windows program and its tests, cross-built with mingw-w64, without debug information and
# optimized as on Linux (-O2): at -O3 this compiler warns falsely of overlapping string copies.
build_windows() {
  cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" --no-warn-unused-cli \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake > /dev/null
  cmake --build build-win
}

# Runs the Windows suites under Wine, on an Xvfb display of their own started before the
# wineserver. Wine links the prefix's Desktop and Documents to HOME, so the tests get a home of
# their own inside the build folder: nothing a test chooses there can lie outside it.
test_windows() {
  export WINEPREFIX=$PWD/build-win/wine HOME=$PWD/build-win/wine-home WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  mkdir -p "$HOME" "$WINEPREFIX"
  rm -f build-win/display
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5> build-win/display 2> /dev/null &
  xvfb=$!
  trap 'wineserver -k 2> /dev/null || true; kill $xvfb 2> /dev/null || true' EXIT
  for _ in $(seq 1 50); do [ -s build-win/display ] && break; sleep 0.1; done
  export DISPLAY=":$(head -1 build-win/display)"
  wineserver -p
  wineboot -i 2> /dev/null
  (cd build-win && ctest --output-on-failure --timeout 300)
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build

case "${1:-}" in
  run)
    exec build/tarnwipe
    ;;
  test)
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300)
    build_windows
    test_windows
    ;;
  package)
    cd build
    cpack -G DEB
    ;;
  windows)
    build_windows
    ;;
  *)
    echo "usage: $0 run|test|package|windows" >&2
    exit 2
    ;;
esac
