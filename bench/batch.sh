#!/usr/bin/env bash
# The batch program against one quelt run per file, one after another, and
# on many tiny files.
#
# Generates 120 submissions (60 of about 1.2 MB and 60 of about 2.4 MB, 207 MB
# in all, a third of them with 5 % faulty records) and 5000 tiny files in a
# scratch folder, then times, warm (one run of each first, not counted), RUNS
# runs of each, taken in turn so that a busy machine weighs on all alike:
#   A   quelt FILE REPORT for every file, one after another;
#   B   quelt-davka -o FOLDER FILES (as many workers as processors);
#   B0  the same with the batch of an earlier build (BEFORE), when given;
# and prints the medians and B/A (target: at most 0.35) and B0/A; then the
# batch on the 5000 tiny files into a new folder and again into the same one
# (target: under a second each; the earlier build's re-run is timed once, it
# may take a minute); the time of one run of a 7 KB file (the fixed cost of a
# run), and the peak resident set size of a single run on the largest file
# against the largest process of the batch. Every report of B is compared
# with A's, byte for byte.
#
#   bench/batch.sh [build-folder [earlier-build-folder]]     (default: build)
#   RUNS=5 BENCH_DIR=/dev/shm bench/batch.sh build build-before
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
before=${2:-}
runs=${RUNS:-5}
quelt=$build/quelt
davka=$build/quelt-davka
for p in "$quelt" "$davka" ${before:+"$before/quelt-davka"}; do
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

mkdir -p "$work/in" "$work/a" "$work/b" "$work/b0" "$work/tiny"
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
tiny='<?xml version="1.0" encoding="windows-1250"?>'$'\n''<ORV></ORV>'
for i in $(seq -w 1 5000); do printf '%s\n' "$tiny" > "$work/tiny/t$i.xml"; done

one_by_one() {
  local f
  for f in "${files[@]}"; do
    "$quelt" "$f" "$work/a/$(basename "${f%.xml}").htm" >/dev/null
  done
}
batch() { "$davka" -o "$work/b" "${files[@]}" >/dev/null; }
batch_before() { "$before/quelt-davka" -o "$work/b0" "${files[@]}" >/dev/null; }
tiny_first() { rm -rf "$work/t"; "$davka" -o "$work/t" "$work/tiny" >/dev/null; }
tiny_again() { "$davka" -o "$work/t" "$work/tiny" >/dev/null; }
tiny_first_before() { rm -rf "$work/t0"; "$before/quelt-davka" -o "$work/t0" "$work/tiny" >/dev/null; }
small() {
  for _ in $(seq 1 100); do "$quelt" "$root/examples/priklad.xml" "$work/small.htm" >/dev/null; done
}

ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

# RUNS timed calls of each function named, in turn, after one call of each
# not counted; sets median_NAME to each one's median in milliseconds.
medians() {
  local f t0
  declare -A times=()
  for f in "$@"; do
    times[$f]=""
    "$f" || true
  done
  for _ in $(seq 1 "$runs"); do
    for f in "$@"; do
      t0=$(date +%s%N)
      "$f" || true
      times[$f]+="$(ms "$t0") "
    done
  done
  for f in "$@"; do
    printf -v "median_$f" '%s' "$(printf '%s\n' ${times[$f]} | sort -n | sed -n "$(( (runs + 1) / 2 ))p")"
  done
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }

if [ -n "$before" ]; then medians one_by_one batch batch_before; else medians one_by_one batch; fi
echo "quelt once per file, one after another: $median_one_by_one ms (median of $runs)"
echo "quelt-davka on all files:               $median_batch ms"
echo "batch / one after another: $(ratio "$median_one_by_one" "$median_batch") (target at most 0.35)"
if [ -n "$before" ]; then
  echo "earlier quelt-davka ($before):   $median_batch_before ms"
  echo "earlier batch / one after another: $(ratio "$median_one_by_one" "$median_batch_before")"
fi

medians tiny_first tiny_again
echo "5000 tiny files: $median_tiny_first ms into a new folder, $median_tiny_again ms again (target under 1000 each)"
if [ -n "$before" ]; then
  medians tiny_first_before
  t0=$(date +%s%N)
  "$before/quelt-davka" -o "$work/t0" "$work/tiny" >/dev/null || true
  echo "earlier batch, 5000 tiny files: $median_tiny_first_before ms into a new folder, $(ms "$t0") ms again (once)"
fi

medians small
awk -v s="$median_small" 'BEGIN { printf "one run of the 7 KB example: %.2f ms\n", s / 100 }'

differ=0
for f in "${files[@]}"; do
  r=$(basename "${f%.xml}").htm
  cmp -s "$work/a/$r" "$work/b/$r" || { echo "report $r differs"; differ=1; }
done
[ "$differ" = 0 ] && echo "all ${#files[@]} reports of the batch are the single runs' bytes"

largest=$(ls -S "${files[@]}" | sed -n 1p)
/usr/bin/time -v -o "$work/single.txt" "$quelt" "$largest" "$work/single.htm" >/dev/null
/usr/bin/time -v -o "$work/batch.txt" "$davka" -o "$work/b" "${files[@]}" >/dev/null
peak() { awk -F': *' '/Maximum resident set size/ {print $2}' "$1"; }
echo "peak resident set size: single run $(peak "$work/single.txt") KiB," \
     "largest process of the batch $(peak "$work/batch.txt") KiB"
exit "$differ"
