#!/usr/bin/env bash
# The batch program against one quelt run per file, one after another.
#
# Generates 120 submissions (60 of about 1.2 MB and 60 of about 2.4 MB, 207 MB
# in all, a third of them with 5 % faulty records) in a scratch folder, then
# times, warm (one run first, not counted), five runs each (RUNS):
#   A  quelt FILE REPORT for every file, one after another;
#   B  quelt-davka -o FOLDER FILES (as many workers as processors);
# and prints the medians and B/A (target: at most 0.5), the time of one run of
# a 7 KB file (the fixed cost of a run), and the peak resident set size of a
# single run on the largest file against the largest process of the batch.
# Every report of B is compared with A's, byte for byte.
#
#   bench/batch.sh [build-folder]        (default: build)
#   RUNS=5 BENCH_DIR=/dev/shm bench/batch.sh build
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
runs=${RUNS:-5}
quelt=$build/quelt
davka=$build/quelt-davka
for p in "$quelt" "$davka"; do
  [ -x "$p" ] || { echo "no $p: build it first" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time is needed (Debian package time)" >&2; exit 1; }
scratch=${BENCH_DIR:-}
if [ -z "$scratch" ]; then
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; else scratch=${TMPDIR:-/tmp}; fi
fi
work=$(mktemp -d "$scratch/quelt-batch.XXXXXX")
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1278403200

mkdir -p "$work/in" "$work/a" "$work/b"
for i in $(seq 1 120); do
  employers=2
  [ $((i % 2)) = 0 ] && employers=4
  faulty=0
  [ $((i % 3)) = 0 ] && faulty=0.05
  printf -v name 'podani-%03d.xml' "$i"
  python3 "$here/gen_orv.py" --employers $employers --records 300 --multi 0.05 \
      --faulty $faulty --seed "$i" "$work/in/$name" &
  [ $((i % 4)) = 0 ] && wait
done
wait
files=("$work"/in/*.xml)
echo "$(du -sm "$work/in" | cut -f1) MB in ${#files[@]} files"

one_by_one() {
  for f in "${files[@]}"; do
    "$quelt" "$f" "$work/a/$(basename "${f%.xml}").htm" >/dev/null
  done
}
batch() {
  "$davka" -o "$work/b" "${files[@]}" >/dev/null
}
small() {
  for _ in $(seq 1 100); do "$quelt" "$root/examples/priklad.xml" "$work/small.htm" >/dev/null; done
}

# Median of RUNS timed calls of a function, after one call not counted.
median() {
  local times=() t0 t1
  "$1" || true
  for _ in $(seq 1 "$runs"); do
    t0=$(date +%s%N)
    "$1" || true
    t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

a=$(median one_by_one)
b=$(median batch)
s=$(median small)
echo "quelt once per file, one after another: $a ms (median of $runs)"
echo "quelt-davka on all files:               $b ms"
awk -v a="$a" -v b="$b" 'BEGIN { printf "batch / one after another: %.2f (target at most 0.5)\n", b / a }'
awk -v s="$s" 'BEGIN { printf "one run of the 7 KB example: %.2f ms\n", s / 100 }'

differ=0
for f in "${files[@]}"; do
  r=$(basename "${f%.xml}").htm
  cmp -s "$work/a/$r" "$work/b/$r" || { echo "report $r differs"; differ=1; }
done
[ "$differ" = 0 ] && echo "all ${#files[@]} reports of the batch are the single runs' bytes"

largest=$(ls -S "${files[@]}" | head -1)
/usr/bin/time -v -o "$work/single.txt" "$quelt" "$largest" "$work/single.htm" >/dev/null
/usr/bin/time -v -o "$work/batch.txt" "$davka" -o "$work/b" "${files[@]}" >/dev/null
peak() { awk -F': *' '/Maximum resident set size/ {print $2}' "$1"; }
echo "peak resident set size: single run $(peak "$work/single.txt") KiB," \
     "largest process of the batch $(peak "$work/batch.txt") KiB"
exit "$differ"
