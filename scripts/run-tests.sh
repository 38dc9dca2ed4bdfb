#!/usr/bin/env bash
# Runs every test under Wine (+ Xvfb when no display is set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build" && build=$(cd "$build" && pwd)
shift || true
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
build=$(kit_runnable_build "$build")
trap wine_session_stop EXIT
wine_session_start "$build"
cd "$build"
# A test that fails is run once more, and both runs stay in the output: under
# 64-bit Wine a GUI test program has been seen, rarely, to hang on its way out
# after all its tests passed (its time-out then ends it).
ctest --output-on-failure --timeout 120 --repeat until-pass:2 "$@"
