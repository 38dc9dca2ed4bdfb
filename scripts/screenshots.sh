#!/usr/bin/env bash
# `make screenshots`: starts the kit's windows under Xvfb in the build's Wine
# prefix, drives them through their accessibility tree with ui_driver, and
# saves each window as a PNG in docs/screenshots/.
#
# One small function per shot. A program adds its shots either here or in a
# file scripts/shots/<program>.sh of its own, which is sourced below and
# appends its function names to SHOTS. Helpers for shots:
#   start_program <exe> [args]     start it from its own folder (as Explorer does)
#   drive <ui_driver arguments>    e.g. drive click "$title" ID_BtnGiveup
#   shoot <title> <file.png>       the window, cut out of the screen
#   close_program <title>          ask the window to close and wait for its program
# Usage: scripts/screenshots.sh [build folder] [shot names...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shift || true
out="$root/docs/screenshots"
# Chinese window titles pass through the command line to ui_driver.
export LC_ALL=C.UTF-8

# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
build=$(kit_runnable_build "$build")
bin="$build/bin"

started=()
stop_programs() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  started=()
}
trap 'stop_programs; wine_session_stop' EXIT

drive() { wine "$bin/ui_driver.exe" "$@"; }

start_program() {
  local exe=$1
  shift
  (cd "$(dirname "$exe")" && exec wine "$(basename "$exe")" "$@" </dev/null >/dev/null 2>&1) &
  started+=($!)
}

shoot() {
  local title=$1 file=$2 x y w h
  read -r x y w h < <(drive rect "$title" | tr -d '\r')
  sleep 0.5  # the last paint reaches the X server
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$file"
  echo "screenshots: docs/screenshots/$file (${w}x${h})"
}

close_program() {
  drive close "$1" >/dev/null || true
  local pid
  for pid in "${started[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  done
  stop_programs
}

# ---- the toolkit's demo window ---------------------------------------------
demo_title="工具包演示"

shot_toolkit_demo() {
  start_program "$bin/toolkit_demo.exe"
  drive wait "$demo_title" 15000 >/dev/null
  shoot "$demo_title" toolkit-demo.png
  drive type "$demo_title" ID_EditNote "界面文字为真实字形：安装、卸载、更新" >/dev/null
  drive focus "$demo_title" ID_BtnQuickInstall >/dev/null
  shoot "$demo_title" toolkit-demo-focus.png
  drive click "$demo_title" ID_BtnQuickInstall >/dev/null
  drive waitfor "$demo_title" ID_BtnTryRightnow visible 15000 >/dev/null
  shoot "$demo_title" toolkit-demo-done.png
  close_program "$demo_title"
}

SHOTS=(shot_toolkit_demo)
for extra in "$root"/scripts/shots/*.sh; do
  [ -f "$extra" ] || continue
  # shellcheck source=/dev/null
  . "$extra"
done

wine_session_start "$build"
mkdir -p "$out"
if [ ! -f "$bin/ui_driver.exe" ]; then
  echo "screenshots: $bin/ui_driver.exe is missing: build the tests first" >&2
  exit 1
fi
wanted=("$@")
[ ${#wanted[@]} -gt 0 ] || wanted=("${SHOTS[@]}")
for shot in "${wanted[@]}"; do
  "$shot"
done
