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
ctest --output-on-failure --timeout 120 "$@"
