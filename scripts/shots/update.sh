#!/usr/bin/env bash
# Photographs the updater in its states:
#   shoot_update <build> <outdir>
# writes <outdir>/update-1-download.png (bar half way through the transfer),
# update-2-ready.png, update-3-installing.png (install animation),
# update-4-done.png, and update-5-failed.png (a package that does not unpack).
# Expects a running Wine session (WINEPREFIX, DISPLAY), as
# scripts/wine-session.sh starts it. The updater runs from a copy of the kit's
# product folder against a local server started here, which sends its
# "update.zip" slowly enough to be seen arriving; the window is closed before
# the new version would start. Safe under `set -e`.

_update_shot() {  # window title, output file
  local rect x y w h
  rect=$(wine "$_update_bin/ui_driver.exe" rect "$1" | tr -d '\r') || return 1
  read -r x y w h <<<"$rect"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# A server on 127.0.0.1 that sends each file in 4 KiB pieces 40 ms apart;
# writes its port to the given file.
_update_server() {  # folder, port file
  python3 - "$1" "$2" <<'PY' &
import http.server, os, socketserver, sys, time
folder, port_file = sys.argv[1], sys.argv[2]
class Slow(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path = os.path.join(folder, self.path.lstrip("/"))
        if not os.path.isfile(path):
            self.send_error(404)
            return
        data = open(path, "rb").read()
        self.send_response(200)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        for at in range(0, len(data), 4096):
            self.wfile.write(data[at:at + 4096])
            self.wfile.flush()
            time.sleep(0.04)
    def log_message(self, *args):
        pass
with socketserver.TCPServer(("127.0.0.1", 0), Slow) as server:
    with open(port_file, "w") as out:
        out.write(str(server.server_address[1]))
    server.serve_forever()
PY
  _update_server_pid=$!
}

_update_run() {  # product folder
  (cd "$1" && exec wine update.exe) </dev/null >/dev/null 2>&1 &
  _update_pid=$!
}

_update_stop() {  # title
  wine "$_update_bin/ui_driver.exe" close "$1" >/dev/null 2>&1 || true
  local i
  for i in $(seq 50); do kill -0 "$_update_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$_update_pid" 2>/dev/null || true
  wait "$_update_pid" 2>/dev/null || true
}

shoot_update() {
  local build=$1 outdir=$2
  local title="更新程序" here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  _update_bin="$build/bin"
  mkdir -p "$outdir"
  local scratch product site
  scratch=$(mktemp -d)
  product="$scratch/Vemora"
  site="$scratch/site"
  mkdir -p "$product" "$site" "$scratch/v2"
  cp -r "$build/kit/Vemora/." "$product/"
  cp "$build/bin/Morvane_v2.exe" "$scratch/v2/Morvane.exe"
  python3 "$here/scripts/make-update-zip.py" "$scratch/v2" "$site/update.zip" >/dev/null
  _update_server "$site" "$scratch/port"
  local i
  for i in $(seq 50); do [ -s "$scratch/port" ] && break; sleep 0.1; done
  local port
  port=$(cat "$scratch/port")
  printf 'download_path http://127.0.0.1:%s/update.zip\r\n' "$port" >"$product/tallmere.cnf"

  local driver="$_update_bin/ui_driver.exe" ok=1
  _update_run "$product"
  {
    wine "$driver" wait "$title" 15000 &&
      sleep 1.5 && _update_shot "$title" "$outdir/update-1-download.png" &&
      wine "$driver" waitfor "$title" ID_TextDownLoadShow "name=等待安装..." 30000 &&
      sleep 0.3 && _update_shot "$title" "$outdir/update-2-ready.png" &&
      wine "$driver" click "$title" ID_BtnInstallUpdate &&
      wine "$driver" waitfor "$title" ID_BtnInstallUpdate "name=安装更新中..." 10000 &&
      sleep 2 && _update_shot "$title" "$outdir/update-3-installing.png" &&
      wine "$driver" waitfor "$title" ID_BtnInstallUpdate "name=运行新版本" 10000 &&
      sleep 0.3 && _update_shot "$title" "$outdir/update-4-done.png"
  } >/dev/null || ok=0
  _update_stop "$title"

  # A package the server does not have: the click finds nothing to unpack.
  rm -rf "$product/skin" "$product/update.zip"
  printf 'download_path http://127.0.0.1:%s/missing.zip\r\n' "$port" >"$product/tallmere.cnf"
  _update_run "$product"
  {
    wine "$driver" wait "$title" 15000 &&
      wine "$driver" waitfor "$title" ID_BtnInstallUpdate enabled 30000 &&
      wine "$driver" click "$title" ID_BtnInstallUpdate &&
      wine "$driver" waitfor "$title" ID_BtnInstallUpdate "name=下载安装包" 10000 &&
      sleep 0.3 && _update_shot "$title" "$outdir/update-5-failed.png"
  } >/dev/null || ok=0
  _update_stop "$title"

  kill "$_update_server_pid" 2>/dev/null || true
  wait "$_update_server_pid" 2>/dev/null || true
  rm -rf "$scratch"
  if [ "$ok" = 1 ]; then
    echo "shots: updater states in $outdir/update-*.png"
  else
    echo "shots: the updater could not be photographed" >&2
    return 1
  fi
}

# Sourced by scripts/screenshots.sh: one more shot of `make screenshots`.
if declare -p SHOTS >/dev/null 2>&1; then
  shot_update() { shoot_update "$build" "$out"; }
  SHOTS+=(shot_update)
fi
