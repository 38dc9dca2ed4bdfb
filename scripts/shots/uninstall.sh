#!/usr/bin/env bash
# Photographs the uninstaller's three pages:
#   shoot_uninstall <build> <outdir>
# writes <outdir>/uninstall-1-days.png, uninstall-2-progress.png and
# uninstall-3-reasons.png. Expects a running Wine session (WINEPREFIX, DISPLAY),
# as scripts/wine-session.sh starts it. The uninstaller runs from a copy of the
# kit's product folder whose removal script does nothing, and the window is
# closed without any of its buttons, so nothing is removed and nothing posted.
# The progress page is taken about a second into its two-second animation.
# Safe under `set -e`.

_uninstall_shot() {  # window title, output file
  local rect x y w h
  rect=$(wine "$_shots_bin/ui_driver.exe" rect "$1" | tr -d '\r') || return 1
  read -r x y w h <<<"$rect"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

shoot_uninstall() {
  local build=$1 outdir=$2
  local title="卸载程序"
  _shots_bin="$build/bin"
  mkdir -p "$outdir"
  local scratch product pid
  scratch=$(mktemp -d)
  product="$scratch/Program Files (x86)/Vemora"
  mkdir -p "$product"
  cp -r "$build/kit/Vemora/." "$product/"
  printf '@echo off\r\n' >"$product/Uninstall.bat"
  printf 'installtime %d\r\n' $(($(date +%s) - 128 * 86400)) >"$product/InstallTime.txt"

  (cd "$product" && exec wine uninstall.exe) </dev/null >/dev/null 2>&1 &
  pid=$!
  local driver="$_shots_bin/ui_driver.exe" ok=1
  {
    wine "$driver" wait "$title" 15000 &&
      wine "$driver" waitfor "$title" ID_TextShowDay name=128 5000 &&
      sleep 0.5 && _uninstall_shot "$title" "$outdir/uninstall-1-days.png" &&
      wine "$driver" click "$title" ID_BtnGiveup &&
      sleep 1 &&
      _uninstall_shot "$title" "$outdir/uninstall-2-progress.png" &&
      wine "$driver" waitfor "$title" ID_EleUninstallPage3 visible 5000 &&
      wine "$driver" click "$title" ID_CekChangeError &&
      wine "$driver" click "$title" ID_CekUnchangedIP &&
      wine "$driver" type "$title" ID_EditOtherReason "高峰时段经常掉线，换 IP 要等很久" &&
      wine "$driver" focus "$title" ID_BtnSayGoodbye &&
      sleep 0.5 && _uninstall_shot "$title" "$outdir/uninstall-3-reasons.png"
  } >/dev/null || ok=0
  wine "$driver" close "$title" >/dev/null 2>&1 || true
  local i
  for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$scratch"
  if [ "$ok" = 1 ]; then
    echo "shots: uninstaller pages in $outdir/uninstall-*.png"
  else
    echo "shots: the uninstaller could not be photographed" >&2
    return 1
  fi
}

# Sourced by scripts/screenshots.sh: one more shot of `make screenshots`.
if declare -p SHOTS >/dev/null 2>&1; then
  shot_uninstall() { shoot_uninstall "$build" "$out"; }
  SHOTS+=(shot_uninstall)
fi
