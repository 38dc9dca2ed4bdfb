#!/usr/bin/env bash
# Sourced by the scripts that run programs under Wine. Provides:
#   kit_runnable_build BUILD   the build whose programs run on this machine
#   wine_session_start BUILD   prefix ready, display up, wineserver warm
#   wine_session_stop          everything started here stopped again
# The prefix lives in BUILD/wineprefix and is made once.
#
# The kit ships as 32-bit programs. Some virtual machines run no 32-bit code
# at all (the kernel refuses i386 executables, Wine's 32-bit loader among
# them); there the same sources are built for x86_64 into BUILD-x86_64 and
# run under 64-bit Wine.

_kit_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

_started_xvfb=""

_prefix_config_version=3

_wine_prefix_create() {
  local prefix=$1
  echo "wine: creating the test prefix in $prefix (once)"
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
}

_wine_prefix_configure() {
  local prefix=$1
  # Chinese faces the skins name, mapped to the installed WenQuanYi face.
  # Unmanaged windows: without a window manager on Xvfb, Wine otherwise waits
  # 2 s for every window to close.
  # A .reg file with Chinese names must be UTF-16LE.
  local reg
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
    '"Microsoft YaHei"="WenQuanYi Micro Hei"' \
    '"Microsoft YaHei UI"="WenQuanYi Micro Hei"' \
    '"微软雅黑"="WenQuanYi Micro Hei"' \
    '"SimSun"="WenQuanYi Micro Hei"' \
    '"宋体"="WenQuanYi Micro Hei"' \
    '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
    '"Managed"="N"' \
    '' \
    '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]' \
    '"taskkill.exe"="native,builtin"' \
    '"xcopy.exe"="native,builtin"' '' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  wine regedit /S "$(wine winepath -w "$reg")" </dev/null >/dev/null 2>&1
  wineserver -w
  rm -f "$reg"
  echo "$_prefix_config_version" >"$prefix/.kit-ready"
}

# The stand-ins of the test prefix's system folder (see tests/tools).
_wine_prefix_tools() {
  local build=$1 system32="$WINEPREFIX/drive_c/windows/system32"
  local tool
  for tool in taskkill xcopy; do
    if [ -f "$build/bin/${tool}_standin.exe" ]; then
      cmp -s "$build/bin/${tool}_standin.exe" "$system32/$tool.exe" ||
        cp "$build/bin/${tool}_standin.exe" "$system32/$tool.exe"
    fi
  done
}

kit_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

kit_runnable_build() {
  local build=$1
  if kit_runs_32bit; then
    echo "$build"
    return
  fi
  echo "wine: this machine runs no 32-bit code; using the x86_64 build in $build-x86_64" >&2
  bash "$_kit_root/scripts/build.sh" "$build-x86_64" x86_64 >&2
  echo "$build-x86_64"
}

# 64-bit builds run under a win64 prefix with Wine's 64-bit loader, which
# the "wine" in PATH then names (Debian's wrapper prefers the 32-bit one).
_wine_select_loader() {
  local build=$1
  if grep -q '^CMAKE_TOOLCHAIN_FILE:.*x86_64' "$build/CMakeCache.txt" 2>/dev/null; then
    mkdir -p "$build/wine-bin"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$build/wine-bin/wine"
    chmod +x "$build/wine-bin/wine"
    export PATH="$build/wine-bin:$PATH" WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
  else
    export WINEARCH=win32
  fi
}

wine_session_start() {
  local build=$1
  _wine_select_loader "$build"
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || _wine_prefix_create "$WINEPREFIX"
  [ "$(cat "$WINEPREFIX/.kit-ready" 2>/dev/null)" = "$_prefix_config_version" ] ||
    _wine_prefix_configure "$WINEPREFIX"
  _wine_prefix_tools "$build"
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    _started_xvfb=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  # A persistent server keeps each test from cold-starting Wine.
  wineserver -p </dev/null >/dev/null 2>&1 || true  # already running for this prefix
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "$_started_xvfb" ]; then
    kill "$_started_xvfb" 2>/dev/null || true
    wait "$_started_xvfb" 2>/dev/null || true
    _started_xvfb=""
  fi
}
