#!/usr/bin/env bash
# Peak memory of the full check on a submission of about 1 GB.
#
# Generates 100 employers of 5000 clean records each (about 1 GB; more than
# 100 employers would add a finding of its own) in a scratch folder, checks it
# once under /usr/bin/time -v with the HTML report, prints the checker's
# totals and its peak resident set size, and removes the folder. Memory must
# not grow with the size of the file: only the register of the current
# employer's records does, so the peak stays under 32 MiB.
#
#   bench/memory.sh [build-folder]             (default: build)
#   EMPLOYERS=100 RECORDS=5000 BENCH_DIR=/dev/shm bench/memory.sh build
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
quelt=$build/quelt
employers=${EMPLOYERS:-100}
records=${RECORDS:-5000}
limit_kib=$((32 * 1024))

[ -x "$quelt" ] || { echo "no checker at $quelt: build it first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is needed (Debian package time)" >&2; exit 1; }
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/quelt-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 "$here/gen_orv.py" --employers "$employers" --records "$records" \
    --multi 0.1 --seed 1 "$work/big.xml"
size=$(stat -c %s "$work/big.xml")

/usr/bin/time -v -o "$work/time.txt" "$quelt" "$work/big.xml" "$work/report.htm" \
    > "$work/console.txt"
peak_kib=$(awk -F': *' '/Maximum resident set size/ {print $2}' "$work/time.txt")
elapsed=$(awk '/Elapsed \(wall clock\) time/ {print $NF}' "$work/time.txt")

tr '\r' '\n' < "$work/console.txt" | grep 'Celkem chyb' | tr -s ' '
awk -v s="$size" -v e="$employers" -v r="$records" -v k="$peak_kib" -v t="$elapsed" \
    -v l="$limit_kib" 'BEGIN {
  printf "%.0f MB, %d employers of %d records, checked in %s (m:ss)\n", s / 1e6, e, r, t
  printf "peak resident set size: %d KiB = %.1f MiB (limit %d MiB): %s\n",
         k, k / 1024, l / 1024, (k < l) ? "within" : "OVER"
  exit (k < l) ? 0 : 1 }'
