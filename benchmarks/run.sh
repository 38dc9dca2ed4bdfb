#!/usr/bin/env bash
# Measurements of the kit (make bench), each next to references measured in
# the same run on the same data, printed as one table:
#   unpacking: UnzipPackage under Wine on three generated packages, against
#     Info-ZIP's unzip and Python's zipfile (native), and against the two
#     limits measured by the same bench program: inflating alone into
#     memory, and writing the same files alone; peak memory of the unpacking;
#   the feedback post: PostFeedbackTo a local server, median of 100;
#   the download: the updater's DownloadPackage on its own window, against
#     URLDownloadToFileW with an empty callback, and against curl;
#   start-up: each program of the kit from process creation to the end of
#     its first WM_PAINT, as the program records it (startup_bench.cpp),
#     median of 10, next to a bare Win32 window program recording the same.
# Generated data lives in a temporary folder that is removed afterwards.
#   benchmarks/run.sh [build folder]      KIT_BENCH_REPEAT=3 runs per figure
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
repeat=${KIT_BENCH_REPEAT:-3}
# shellcheck source=../scripts/wine-session.sh
. "$root/scripts/wine-session.sh"
build=$(kit_runnable_build "$build")
bin=$build/bin
work=$(mktemp -d /tmp/kit-bench.XXXXXX)
results=$work/results.txt
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  wine_session_stop
  rm -rf "$work"
}
trap cleanup EXIT

for tool in unpack_bench feedback_bench download_bench startup_bench startup_baseline; do
  [ -f "$bin/$tool.exe" ] || { echo "bench: $bin/$tool.exe is missing (build first)" >&2; exit 1; }
done

say() { echo "bench: $*" >&2; }
record() { echo "$1 $2" >>"$results"; }
result_of() { tr -d '\r' <<<"$1" | sed -n "s/^RESULT $2 \([^ ]*\).*/\1/p" | head -1; }
median() { python3 -c 'import statistics, sys; print(statistics.median(map(float, sys.argv[1:])))' "$@"; }
# A clean output folder and no dirty pages of the run before; not timed.
fresh() { rm -rf "$1"; sync; }
# Bounded: a bench program that hangs ends the run instead of stalling it.
bench_exe() { timeout 600 wine "$bin/$1.exe" "${@:2}" </dev/null 2>>"$work/wine.log"; }
winpath() { wine winepath -w "$1" 2>/dev/null; }

wine_session_start "$build"
arch=i686
case "$build" in *-x86_64) arch=x86_64 ;; esac
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
     "$(free -g | awk '/^Mem:/ {print $2}') GiB; $(wine --version) running the $arch build; $(date -u '+%Y-%m-%d %H:%M UTC')"

make_package() {  # name, file count, megabytes
  say "writing package $1: $2 files, $3 MB"
  python3 "$root/benchmarks/make_product.py" "$work/$1-product" "$2" "$3"
  python3 "$root/scripts/make-update-zip.py" "$work/$1-product" "$work/$1.zip" >/dev/null
  rm -rf "$work/$1-product"
}

bench_package() {  # name, label
  local name=$1 label=$2 zip=$work/$1.zip out=$work/out
  local wzip wout bytes files i o
  local unpack=() inflate=() write=() infozip=() pyzip=() growth=() idle=0
  wzip=$(winpath "$zip"); wout=$(winpath "$out")
  read -r bytes files < <(python3 -c 'import sys, zipfile
entries = zipfile.ZipFile(sys.argv[1]).infolist()
print(sum(e.file_size for e in entries), sum(not e.is_dir() for e in entries))' "$zip")
  say "unpacking $label, $repeat times each way"
  for i in $(seq "$repeat"); do
    fresh "$out"
    o=$(bench_exe unpack_bench unpack "$wzip" "$wout")
    unpack+=("$(result_of "$o" seconds)")
    idle=$(result_of "$o" idle_mib)
    growth+=("$(python3 -c "print($(result_of "$o" peak_mib) - $(result_of "$o" idle_mib))")")
    fresh "$out"
    o=$(bench_exe unpack_bench inflate "$wzip")
    inflate+=("$(result_of "$o" seconds)")
    fresh "$out"
    o=$(bench_exe unpack_bench write "$wzip" "$wout")
    write+=("$(result_of "$o" seconds)")
    fresh "$out"
    infozip+=("$(python3 -c 'import subprocess, sys, time
start = time.perf_counter()
subprocess.run(["unzip", "-o", "-q", sys.argv[1], "-d", sys.argv[2]], check=True)
print(time.perf_counter() - start)' "$zip" "$out")")
    fresh "$out"
    pyzip+=("$(python3 -c 'import sys, time, zipfile
start = time.perf_counter()
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
print(time.perf_counter() - start)' "$zip" "$out")")
  done
  fresh "$out"
  record "$name.label" "$label"
  record "$name.bytes" "$bytes"
  record "$name.files" "$files"
  record "$name.unpack" "$(median "${unpack[@]}")"
  record "$name.inflate" "$(median "${inflate[@]}")"
  record "$name.write" "$(median "${write[@]}")"
  record "$name.infozip" "$(median "${infozip[@]}")"
  record "$name.python" "$(median "${pyzip[@]}")"
  record "$name.growth" "$(IFS=,; python3 -c "print(max([${growth[*]}]))")"
  record "$name.idle" "$idle"
}

make_package mixed 2400 240
make_package small 20000 60
make_package single 1 500
bench_package mixed "2,400 files, 240 MB, mixed"
bench_package small "20,000 small files, 60 MB"
bench_package single "one 500 MB file"
rm -f "$work"/*.zip

say "starting the local server"
mkdir -p "$work/served" "$work/dl"
head -c 200000000 /dev/urandom >"$work/served/update.zip"
python3 "$root/benchmarks/bench_server.py" "$work/served" "$work/port" &
server_pid=$!
for _ in $(seq 100); do [ -f "$work/port" ] && break; sleep 0.05; done
port=$(cat "$work/port")

say "feedback post, 100 round trips"
o=$(bench_exe feedback_bench "http://127.0.0.1:$port/index.php/ip/client/feedback" 100)
record feedback.median "$(result_of "$o" median_ms)"
record feedback.min "$(result_of "$o" min_ms)"
record feedback.max "$(result_of "$o" max_ms)"

say "download of 200 MB, $repeat times each way"
url="http://127.0.0.1:$port/update.zip"
wdl=$(winpath "$work/dl/update.zip")
# The bench program stands where update.exe stands: its download lands in
# update.zip beside it, next to the updater's skin.
mkdir -p "$work/dl"
cp "$bin/download_bench.exe" "$work/dl/"
cp -r "$build/kit/Vemora/mainSkin" "$work/dl/"
progress=() empty=() curled=() calls=""
for i in $(seq "$repeat"); do
  fresh "$work/dl/update.zip"
  o=$(timeout 600 wine "$work/dl/download_bench.exe" "$url" updater </dev/null 2>>"$work/wine.log")
  progress+=("$(result_of "$o" seconds)")
  cmp -s "$work/served/update.zip" "$work/dl/update.zip" || { say "the updater's copy differs"; exit 1; }
  fresh "$work/dl/update.zip"
  o=$(bench_exe download_bench "$url" "$wdl" empty)
  empty+=("$(result_of "$o" seconds)")
  calls=$(result_of "$o" callbacks)
  fresh "$work/dl/update.zip"
  curled+=("$(curl -s -o "$work/dl/update.zip" -w '%{time_total}' "$url")")
done
cmp -s "$work/served/update.zip" "$work/dl/update.zip" || { say "curl's copy differs"; exit 1; }
record download.bytes 200000000
record download.progress "$(median "${progress[@]}")"
record download.empty "$(median "${empty[@]}")"
record download.curl "$(median "${curled[@]}")"
record download.calls "$calls"

say "start-up of each program, 10 times each"
cp -r "$build/kit" "$work/kit"
head -c 1000 /dev/urandom >"$work/served/small.zip"
printf 'download_path http://127.0.0.1:%s/small.zip\r\n' "$port" >"$work/kit/Vemora/tallmere.cnf"
startup() {  # name, program, working folder
  local o
  o=$(bench_exe startup_bench "$(winpath "$2")" "$(winpath "$3")" 10)
  [ "$(result_of "$o" window)" = 1 ] || { say "$1 showed no window"; exit 1; }
  record "startup.$1" "$(result_of "$o" median_ms)"
}
startup baseline "$bin/startup_baseline.exe" "$bin"
startup install "$work/kit/install.exe" "$work/kit"
startup uninstall "$work/kit/Vemora/uninstall.exe" "$work/kit/Vemora"
startup update "$work/kit/Vemora/update.exe" "$work/kit/Vemora"

python3 - "$results" <<'PY'
import sys

values = {}
for line in open(sys.argv[1], encoding="utf-8"):
    key, _, value = line.rstrip("\n").partition(" ")
    values[key] = value
num = lambda key: float(values[key])
rows = []

def row(figure, measured, reference, target, verdict):
    rows.append((figure, measured, reference, target, verdict))

def met(ok):
    return "met" if ok else "missed"

for name in ("mixed", "small", "single"):
    label = values[name + ".label"]
    mb = num(name + ".bytes") / 1e6
    rate = lambda what: mb / num(f"{name}.{what}")
    ours, infozip, python = rate("unpack"), rate("infozip"), rate("python")
    inflate, write = rate("inflate"), rate("write")
    lower = min(inflate, write)
    row(f"unpack {label}: UnzipPackage", f"{ours:.0f} MB/s", f"Info-ZIP unzip {infozip:.0f} MB/s",
        ">= 0.9 x Info-ZIP", f"{ours / infozip:.2f} x, {met(ours >= 0.9 * infozip)}")
    row(f"unpack {label}: against its limits", f"{ours:.0f} MB/s",
        f"inflate alone {inflate:.0f}, write alone {write:.0f} MB/s", ">= 0.8 x the lower",
        f"{ours / lower:.2f} x, {met(ours >= 0.8 * lower)}")
    row(f"unpack {label}: Python zipfile", f"{python:.0f} MB/s", "(reference)", "", "")
    growth = num(name + ".growth")
    row(f"unpack {label}: peak memory", f"+{growth:.2f} MiB",
        f"idle footprint {num(name + '.idle'):.1f} MiB", "<= idle + 1 MiB", met(growth <= 1.0))

median = num("feedback.median")
row("feedback post round trip (median of 100)", f"{median:.1f} ms",
    f"min {num('feedback.min'):.1f}, max {num('feedback.max'):.1f} ms", "<= 20 ms", met(median <= 20))

mb = num("download.bytes") / 1e6
progress, empty, curl = (mb / num("download." + k) for k in ("progress", "empty", "curl"))
row("download 200 MB: DownloadPackage, the updater's window and bar", f"{progress:.0f} MB/s",
    f"curl -o {curl:.0f} MB/s", ">= 0.8 x curl", f"{progress / curl:.2f} x, {met(progress >= 0.8 * curl)}")
cost = num("download.progress") / num("download.empty") - 1
row("download 200 MB: cost of the progress display", f"{cost * 100:+.1f} %",
    f"empty callback {empty:.0f} MB/s ({values['download.calls']} calls)", "<= 5 %", met(cost <= 0.05))
baseline = num("startup.baseline")
for program in ("install", "uninstall", "update"):
    total = num("startup." + program)
    own = total - baseline
    row(f"start-up of {program}.exe to its first painted window (median of 10)",
        f"{total:.0f} ms, {own:.0f} ms without Wine's",
        f"bare Win32 window {baseline:.0f} ms", "<= 150 ms", met(own <= 150))

widths = [max(len(r[i]) for r in rows + [("figure", "measured", "reference", "target", "result")])
          for i in range(5)]
line = lambda r: "| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |"
print(line(("figure", "measured", "reference", "target", "result")))
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print(line(r))
PY
