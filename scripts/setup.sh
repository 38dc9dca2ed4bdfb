#!/usr/bin/env bash
# Installs everything the kit's build and tests need on a Debian 12 machine.
# Idempotent: a second run checks and returns in seconds.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
third_party="$here/build-deps"

packages=(
  g++-mingw-w64-i686-posix mingw-w64-i686-dev mingw-w64-tools binutils-mingw-w64-i686
  libz-mingw-w64-dev cmake make ninja-build googletest
  wine wine32:i386 xvfb xdotool x11-utils imagemagick fonts-wqy-microhei
  # Machines whose kernel runs no 32-bit code test an x86_64 build of the
  # same sources under 64-bit Wine (scripts/wine-session.sh).
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine64
  python3 zip unzip curl dpkg-dev locales
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

ensure_deb_src() {
  # Only bookworm main: the security archive keeps no sources of older builds.
  local list=/etc/apt/sources.list.d/kit-bookworm-src.list
  [ -f "$list" ] && return 1
  echo 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main' | as_root tee "$list" >/dev/null
  return 0
}

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi
ensure_deb_src && need_update=1

todo=$(missing_packages)
if [ -n "$todo" ]; then need_update=1; fi
if [ "$need_update" = 1 ]; then
  as_root apt-get update -qq
fi
if [ -n "$todo" ]; then
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends $todo
fi

# Wine takes a process's code page from its locale: the tests run the
# programs under code page 936 too.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

# Source packages: minizip's unzip reader (zlib's contrib) and pugixml.
fetch_source() {  # name, marker file inside the unpacked tree, target dir
  local name=$1 marker=$2 target=$3
  if [ -f "$target/$marker" ]; then return; fi
  local tmp
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source --download-only -qq "$name/bookworm" >/dev/null 2>&1)
  mkdir -p "$target"
  local orig
  orig=$(ls "$tmp"/*.orig.tar.* | head -n1)
  tar -xf "$orig" -C "$target" --strip-components=1
  rm -rf "$tmp"
}
fetch_source zlib contrib/minizip/unzip.c "$third_party/zlib"
fetch_source pugixml src/pugixml.cpp "$third_party/pugixml"

echo "setup: all build and test dependencies are present"
