#!/usr/bin/env bash
# Builds the kit into dist/kit, as a user receives it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake -DKIT_BIN="$build/bin" -DKIT_SOURCE="$root" -DKIT_OUT="$root/dist/kit" \
  -P "$root/cmake/make_kit.cmake"
