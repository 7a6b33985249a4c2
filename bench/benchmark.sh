#!/usr/bin/env bash
# Speed and memory of the full check against a bare XML parse.
#
# Generates realistic submissions with bench/gen_orv.py (40 employers of 3000
# records make about 250 MB), then times the full
# check (HTML report, and once also with an output copy) and
# `xmllint --stream --noout` on the same file, RUNS times each, and prints the
# medians, their ratio, the checker's throughput and its peak memory. Files
# are made in a scratch folder and removed after.
#
#   bench/benchmark.sh [build-folder]        (default: build)
#   RUNS=7 BENCH_DIR=/dev/shm bench/benchmark.sh
#   BASE=build-compare/HASH/build bench/benchmark.sh
#
# With BASE (another build folder, such as the one bench/compare.sh makes of an
# earlier commit) the base checker is timed too, on the same files, its runs
# taking turns with the checker's, and each line adds the base's median, its
# ratio to xmllint and the checker's time against the base's: a before and
# after of a change measured in one run.
#
# Targets (ratios of medians, 10 % allowed for noise):
#   clean 250 MB:            check <= 0.15 of xmllint
#   10 % faulty records:     check <= 0.15 of xmllint
#   one employer of 200000:  check <= 0.15 of xmllint
#   clean with output copy:  check <= 0.25 of xmllint
#   four times the file:     <= 4.2 times the time of the 250 MB file
#   peak memory:             <= 16 MiB + 100 bytes per record of the largest employer
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
quelt=$build/quelt
runs=${RUNS:-5}
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/quelt-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# xmllint comes from Debian's libxml2-utils.
. "$root/scripts/packages.sh"
command -v xmllint >/dev/null || install_packages libxml2-utils
[ -x "$quelt" ] || { echo "no checker at $quelt: build it first" >&2; exit 1; }
base=${BASE:+$(cd "$BASE" && pwd)/quelt}
if [ -n "$base" ] && [ ! -x "$base" ]; then echo "no base checker at $base" >&2; exit 1; fi

# median of the numbers on standard input
median() { sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

# time_runs CMD...: prints "median_seconds peak_kib" over $runs runs
time_runs() {
  local t=() m=0 line
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -o "$work/time" -f "%e %M" "$@" >/dev/null 2>&1
    line=$(tail -1 "$work/time")
    t+=("${line% *}")
    if (( ${line#* } > m )); then m=${line#* }; fi
  done
  printf '%s\n' "${t[@]}" | median | tr '\n' ' '
  echo "$m"
}

# time_pair CMD-A -- CMD-B: times both, their runs taking turns; prints
# "median_a peak_a median_b peak_b"
time_pair() {
  local a=() b=() ta=() tb=() ma=0 mb=0 line
  while [ "$1" != -- ]; do a+=("$1"); shift; done
  shift
  b=("$@")
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -o "$work/time" -f "%e %M" "${a[@]}" >/dev/null 2>&1
    line=$(tail -1 "$work/time"); ta+=("${line% *}")
    if (( ${line#* } > ma )); then ma=${line#* }; fi
    /usr/bin/time -o "$work/time" -f "%e %M" "${b[@]}" >/dev/null 2>&1
    line=$(tail -1 "$work/time"); tb+=("${line% *}")
    if (( ${line#* } > mb )); then mb=${line#* }; fi
  done
  echo "$(printf '%s\n' "${ta[@]}" | median) $ma $(printf '%s\n' "${tb[@]}" | median) $mb"
}

# bench NAME COPY GENERATOR-ARGS...: generates, times both, prints one result
# line; COPY "copy" has the check write an output copy too, "-" not
declare -A SECS BYTES RECORDS
bench() {
  local name=$1 copy=$2; shift 2
  local file=$work/$name.xml
  python3 "$here/gen_orv.py" "$@" "$file"
  local size; size=$(stat -c %s "$file")
  local out=()
  if [ "$copy" = copy ]; then out=("$work/$name.copy.xml"); fi
  local bq=0 bmem=0
  if [ -n "$base" ]; then
    local bout=()
    if [ "$copy" = copy ]; then bout=("$work/$name.base.copy.xml"); fi
    read -r q qmem bq bmem < <(time_pair "$quelt" "$file" "$work/$name.htm" "${out[@]}" -- \
                                         "$base" "$file" "$work/$name.base.htm" "${bout[@]}")
  else
    read -r q qmem < <(time_runs "$quelt" "$file" "$work/$name.htm" "${out[@]}")
  fi
  read -r x _ < <(time_runs xmllint --stream --noout "$file")
  local employers records
  employers=$(grep -c '<orv:zamestnavatel>' "$file" || true)
  records=$(grep -c '<orv:zamestnanec>' "$file" || true)
  SECS[$name]=$q; BYTES[$name]=$size; RECORDS[$name]=$records
  awk -v n="$name" -v s="$size" -v q="$q" -v x="$x" -v m="$qmem" -v e="$employers" -v r="$records" 'BEGIN {
    printf "%-10s %7.1f MB %3d employers %7d records  check %6.3f s  xmllint %6.3f s  ratio %.3f  %6.1f MB/s  peak %5.1f MiB  %.2f us/record\n",
           n, s/1e6, e, r, q, x, q/x, s/1e6/q, m/1024, q*1e6/r }'
  if [ -n "$base" ]; then
    awk -v q="$q" -v b="$bq" -v x="$x" -v m="$bmem" 'BEGIN {
      printf "%-10s base %6.3f s  ratio %.3f  peak %5.1f MiB  check/base %.3f\n", "", b, b/x, m/1024, q/b }'
  fi
  rm -f "$file" "$work/$name.htm" "$work/$name.copy.xml" "$work/$name.base.htm" "$work/$name.base.copy.xml"
}

echo "quelt benchmark: $runs runs each, medians; $(nproc) cores; $(date -u +%F)"
bench clean    -    --employers 40 --records 3000 --multi 0.1 --seed 1
bench copy     copy --employers 40 --records 3000 --multi 0.1 --seed 1
bench faulty   -    --employers 40 --records 3000 --multi 0.1 --faulty 0.1 --seed 2
bench big1     -    --employers 1 --records 200000 --multi 0.1 --seed 3
bench clean4x  -    --employers 40 --records 12000 --multi 0.1 --seed 4
awk -v a="${SECS[clean4x]}" -v b="${SECS[clean]}" -v sa="${BYTES[clean4x]}" -v sb="${BYTES[clean]}" \
    -v p="${SECS[big1]}" -v pr="${RECORDS[big1]}" -v cr="${RECORDS[clean]}" 'BEGIN {
  printf "four times the file: %.2f times the size, %.2f times the time\n", sa/sb, a/b
  printf "one employer of %d records: %.3f us/record against %.3f us/record for 40 employers\n", pr, p*1e6/pr, b*1e6/cr }'
