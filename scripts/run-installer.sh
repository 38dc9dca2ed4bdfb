#!/usr/bin/env bash
# `make run`: assembles dist/kit from a build and starts its installer under
# Wine, in the build's prefix. With a display the installer runs there until
# it is closed; without one it runs on a virtual screen, and a picture of its
# window is saved to dist/install-window.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
kit="$root/dist/kit"

bash "$root/scripts/make-kit.sh" "$build" >/dev/null
if [ ! -f "$kit/install.exe" ]; then
  echo "run: $kit/install.exe is missing (the installer did not build)" >&2
  exit 1
fi

had_display=${DISPLAY:-}
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
runnable=$(kit_runnable_build "$build")
if [ "$runnable" != "$build" ]; then
  # dist/kit stays the shipped 32-bit kit; this machine runs the same kit
  # built for x86_64.
  kit="$runnable/kit"
  echo "run: dist/kit is ready; starting the x86_64 build's installer from $kit"
fi
build=$runnable
trap wine_session_stop EXIT
wine_session_start "$build"

# The installer finds its skin and the product beside itself; start it from
# its folder as the file manager would.
cd "$kit"
if [ -n "$had_display" ]; then
  echo "run: starting $kit/install.exe on $DISPLAY"
  wine install.exe
  exit 0
fi

wine install.exe </dev/null >/dev/null 2>&1 &
installer=$!
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '安装程序' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  if ! kill -0 "$installer" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run: the installer showed no window" >&2
  exit 1
fi
sleep 0.5  # let the first paint finish
shot="$root/dist/install-window.png"
import -display "$DISPLAY" -window "$window" "$shot"
kill "$installer" 2>/dev/null || true
wait "$installer" 2>/dev/null || true
echo "run: no display was set; the installer ran on a virtual screen."
echo "run: its window is pictured in $shot"
