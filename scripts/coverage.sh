#!/usr/bin/env bash
# Line and branch coverage of the checker's sources (src/) by the project's
# tests: a --coverage build in build-coverage/ with the samples of data/ runs
# ctest, then gcovr (Debian's package) prints the lines and branches no test
# runs, file by file, and the totals. Branches that only an exception takes
# and those the compiler proves unreachable are left out; the Windows-only
# console code is not compiled in this build, so it does not count either.
# A line that no input can reach carries GCOVR_EXCL_LINE (or START/STOP) and
# its reason.
#   scripts/coverage.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/packages.sh
install_packages gcovr

build=build-coverage
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DQUELT_DATA_DIR="$root/data" \
  -DCMAKE_CXX_FLAGS="--coverage" -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$build" -j2
# Counts of an earlier run would add to this one's.
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j2 --output-on-failure

# Only this build's counts; CMake's compiler check was built with the flags
# too, and is not the checker's.
gcovr_args=(--root "$root" --object-directory "$build" --filter "$root/src/"
            --exclude-directories "$build/CMakeFiles/[0-9.]+"
            --exclude-throw-branches --exclude-unreachable-branches "$build")
echo "== Files with lines no test runs"
gcovr "${gcovr_args[@]}" --txt - | grep -Ev ' (100|--)%'
echo "== Files with branches no test takes"
gcovr "${gcovr_args[@]}" --branches --txt - | grep -Ev ' (100|--)%'
# The summary goes with a full table into a file of the build folder: gcovr
# tests an output path by opening and then unlinking it, so it is never handed
# a device or any other path outside the checkout.
gcovr "${gcovr_args[@]}" --print-summary --txt "$build/coverage.txt"
