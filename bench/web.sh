#!/usr/bin/env bash
# Speed of the web edition against the native checker, in one run.
#
# Generates the clean benchmark submission (40 employers of 3000 records,
# about 250 MB, as bench/benchmark.sh does) and times, RUNS times each, the
# native check, the WebAssembly command line under Node and the check in the
# web page in headless Chromium (opened from disk, from the click to the
# state done), all with the CSV report, which must be the same for all three.
# Prints the medians and their ratios to the native time.
#
#   bench/web.sh [native-build [web-build]]    (defaults: build, build-web)
#   RUNS=7 BENCH_DIR=/dev/shm bench/web.sh
#
# Targets (ratios of medians): the command line under Node at most 1.8 times
# the native time, the page at most 2.5 times.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
native=${1:-$root/build}/quelt
web=${2:-$root/build-web}
runs=${RUNS:-5}
# No dot in the folder's name: a report's format is read after the first dot of its path.
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/quelt-web-bench-XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

[ -x "$native" ] || { echo "no checker at $native: build it first" >&2; exit 1; }
[ -f "$web/quelt.js" ] && [ -f "$web/quelt-kontrola.html" ] || { echo "no web edition in $web: run scripts/build-web.sh" >&2; exit 1; }
source "$root/scripts/packages.sh"
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
python3 "$here/gen_orv.py" --employers 40 --records 3000 --multi 0.1 --seed 1 "$file"
echo "quelt web benchmark: $runs runs each, medians; $(nproc) cores; $(date -u +%F); $(stat -c %s "$file") bytes"

n=$(time_runs "$native" "$file" "$work/native.csv")
w=$(time_runs node "$web/quelt.js" "$file" "$work/node.csv")
p=$(node "$here/web_page.mjs" "$web/quelt-kontrola.html" "$file" "$runs" "$work/page.csv" | median)

cmp "$work/native.csv" "$work/node.csv" || { echo "the command line under Node wrote another report" >&2; exit 1; }
cmp "$work/native.csv" "$work/page.csv" || { echo "the page wrote another report" >&2; exit 1; }
awk -v n="$n" -v w="$w" -v p="$p" 'BEGIN {
  printf "native %6.3f s\nnode   %6.3f s  ratio %.2f\npage   %6.3f s  ratio %.2f\n", n, w, w/n, p, p/n }'
echo "the three CSV reports are the same"
