#!/usr/bin/env bash
# Every output byte of the current tree against an earlier commit.
#
# Builds the checker of an earlier commit (from `git archive`, so no worktree
# is touched) and of the current tree as it stands (uncommitted changes
# included), runs both on the same inputs and compares reports in all four
# formats, output copies, console bytes and exit statuses
# (bench/compare_runs.py says which inputs). A speed step must leave every
# count of differences at 0. Prints the counts; status 1 when any run differs.
#
#   bench/compare.sh [base-commit]          (default: HEAD~1, the step before)
#   MUTANTS=2000 LISTS=200 SEED=7 bench/compare.sh 977d2ba
#   EXTRA="fuzz-corpus" bench/compare.sh    (more input folders, one file an input)
#
# Builds are kept in build-compare/ (the base's by commit, so a second
# comparison with the same base does not build it again); the scratch folder
# goes to BENCH_DIR (default /dev/shm when it exists) and is removed when
# nothing differs, else kept for a look.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
base=${1:-HEAD~1}
hash=$(git -C "$root" rev-parse --verify "$base^{commit}")
builds=${COMPARE_BUILDS:-$root/build-compare}
jobs=${JOBS:-2}

configure_and_build() {  # source-folder build-folder
  # Each tree with its own samples, named: a reused build folder's cache would
  # keep whatever data folder it was made with.
  cmake -S "$1" -B "$2" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release -DQUELT_TESTS=OFF \
        -DQUELT_DATA_DIR="$1/data" -DQUELT_CORE_FROM= >/dev/null
  cmake --build "$2" --target quelt -j"$jobs" >/dev/null
}

if [ ! -x "$builds/$hash/build/quelt" ]; then
  rm -rf "$builds/$hash"
  mkdir -p "$builds/$hash/src"
  git -C "$root" archive "$hash" | tar -x -C "$builds/$hash/src"
  configure_and_build "$builds/$hash/src" "$builds/$hash/build"
fi
configure_and_build "$root" "$builds/current"

scratch=${BENCH_DIR:-}
if [ -z "$scratch" ]; then
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; else scratch=${TMPDIR:-/tmp}; fi
fi
work=$(mktemp -d "$scratch/quelt-compare.XXXXXX")

echo "comparing $(git -C "$root" rev-parse --short "$hash") with the current tree"
status=0
# shellcheck disable=SC2086
python3 "$here/compare_runs.py" --base "$builds/$hash/build/quelt" --new "$builds/current/quelt" \
  --root "$root" --work "$work" --mutants "${MUTANTS:-800}" --lists "${LISTS:-80}" \
  --seed "${SEED:-1}" --jobs "$jobs" --extra ${EXTRA:-} || status=$?
if [ "$status" = 0 ]; then
  rm -rf "$work"
else
  echo "outputs kept in $work"
fi
exit "$status"
