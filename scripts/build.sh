#!/usr/bin/env bash
# Configures (once) and builds the kit and its tests into the given folder.
#   scripts/build.sh [build folder] [i686|x86_64]   (i686: the shipped kit)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
arch=${2:-i686}
mkdir -p "$build" && build=$(cd "$build" && pwd)
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
