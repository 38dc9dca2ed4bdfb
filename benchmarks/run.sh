#!/usr/bin/env bash
# Measurements of the kit (make bench): the updater's unpacking of a package
# of 2,400 files and 240 MB, throughput and peak memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
# shellcheck source=../scripts/wine-session.sh
. "$root/scripts/wine-session.sh"
work=$(mktemp -d)
cleanup() { wine_session_stop; rm -rf "$work"; }
trap cleanup EXIT

echo "bench: writing a product folder of 2400 files, 240 MB"
python3 "$root/benchmarks/make_product.py" "$work/product" 2400 240
python3 "$root/scripts/make-update-zip.py" "$work/product" "$work/update.zip"
wine_session_start "$build"
echo "bench: unpacking (CUpdateMain::UnzipPackage)"
wine "$build/bin/unpack_bench.exe" "$(winepath -w "$work/update.zip")" "$(winepath -w "$work/skin")"
