#!/usr/bin/env bash
# Speed of the web edition against the native checker, in one run.
#
# Generates the clean benchmark submission (40 employers of 3000 records,
# about 250 MB, as bench/benchmark.sh does) and times, RUNS times each, the
# native check, the WebAssembly command line under Node, and the check in the
# web page in Chromium, Firefox and WebKit (bench/web_page.mjs: from the click
# to the state done; Chromium and Firefox open the page from disk, WebKit from
# 127.0.0.1), each beside that browser's bare read of the same file (a worker
# that only reads the file in 16 MB blocks), all with the CSV report, which
# must be the same for all. Prints the medians, their ratios to the native
# time, and each page's ratio to its browser's bare read.
#
#   bench/web.sh [native-build [web-build]]    (defaults: build, build-web)
#   RUNS=7 BENCH_DIR=/dev/shm bench/web.sh
#   QUELT_BROWSERS=chromium,firefox bench/web.sh
# Variables: RUNS (default 5), BENCH_DIR, QUELT_BROWSERS (default all three),
# BENCH_RECORDS (records per employer, default 3000: fewer for a quick try).
#
# Targets (ratios of medians): the command line under Node at most 1.8 times
# the native time, the page in Chromium at most 2.5 times.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
native=${1:-$root/build}/quelt
web=${2:-$root/build-web}
runs=${RUNS:-5}
engines=${QUELT_BROWSERS:-chromium,firefox,webkit}
# No dot in the folder's name: a report's format is read after the first dot of its path.
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/quelt-web-bench-XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

[ -x "$native" ] || { echo "no checker at $native: build it first" >&2; exit 1; }
[ -f "$web/quelt.js" ] && [ -f "$web/quelt-kontrola.html" ] || { echo "no web edition in $web: run scripts/build-web.sh" >&2; exit 1; }
source "$root/scripts/packages.sh"
install_packages $(browser_packages "$engines")
install_browser_driver "$root"

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

# time_runs CMD...: the median of $runs wall-clock times in seconds
time_runs() {
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -o "$work/time" -f "%e" "$@" >/dev/null 2>&1
    tail -1 "$work/time"
  done | median
}

file=$work/clean.xml
python3 "$here/gen_orv.py" --employers 40 --records "${BENCH_RECORDS:-3000}" --multi 0.1 --seed 1 "$file"
echo "quelt web benchmark: $runs runs each, medians; $(nproc) cores; $(date -u +%F); $(stat -c %s "$file") bytes"

n=$(time_runs "$native" "$file" "$work/native.csv")
w=$(time_runs node "$web/quelt.js" "$file" "$work/node.csv")
cmp "$work/native.csv" "$work/node.csv" || { echo "the command line under Node wrote another report" >&2; exit 1; }
awk -v n="$n" -v w="$w" 'BEGIN { printf "native          %7.3f s\nnode            %7.3f s  ratio %.2f\n", n, w, w/n }'

for engine in ${engines//,/ }; do
  run_with_browsers "$engine" node "$here/web_page.mjs" "$engine" "$web" "$file" "$runs" "$work/$engine.csv" >"$work/$engine.times"
  cmp "$work/native.csv" "$work/$engine.csv" || { echo "the page in $engine wrote another report" >&2; exit 1; }
  p=$(awk '$1 == "page" {print $2}' "$work/$engine.times" | median)
  r=$(awk '$1 == "read" {print $2}' "$work/$engine.times" | median)
  how="from disk"
  [ "$engine" != webkit ] || how="served"
  awk -v e="$engine" -v p="$p" -v r="$r" -v n="$n" -v how="$how" 'BEGIN {
    printf "page %-10s %7.3f s  ratio %.2f   bare read %7.3f s  page/read %.2f  (%s)\n", e, p, p/n, r, p/r, how }'
done
echo "the CSV reports are the same"
