#!/usr/bin/env bash
# Line and branch coverage of the checker's sources (src/) by the project's
# tests: a --coverage build in build-coverage/ (a debug build: its assertions
# are checked) with the samples of data/ runs ctest, then gcovr (Debian's
# package) prints the lines and branches no test runs, file by file, and the
# totals, over all of src/ and over src/ without the batch program (src/batch/,
# the processes of src/os/ and the batch's entry point).
#
# What it does not count:
# - code this Linux build does not compile: the Windows halves (#ifdef
#   _WIN32: the Windows console, file identity, folders and processes, the
#   clock and the list names of quelt.exe), the WebAssembly parts (#ifdef
#   __EMSCRIPTEN__, and src/entry/web_main.cpp, the page's entry point) and
#   the fuzz build's (QUELT_FUZZ_BUILD); the Windows build's golden suite
#   under wine and the web build's under Node run those, without counting;
# - branches only an exception takes, branches the compiler proves
#   unreachable, and the failing branch of every assertion (assert(...));
# - lines no input can reach, marked GCOVR_EXCL_LINE (or START/STOP, or
#   GCOVR_EXCL_BR_LINE for a branch) with the reason;
# - tests/ and tools/.
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
# Counts of an earlier run would add to this one's, and the objects of a
# source that has moved or gone would count as lines no test runs.
find "$build" -name '*.gcda' -delete
# (An object's path below its target's folder is its source's path below
# the folder of the CMakeLists.txt that names it.)
find "$build" -path '*.dir/*.gcno' ! -path '*/CMakeFiles/[0-9.]*' | while read -r object; do
  lists=${object#"$build"/}
  source=${lists%%CMakeFiles/*}${object#*.dir/}
  source=${source%.gcno}
  [ -e "$source" ] || [ -e "$build/$source" ] || rm -f "${object%.gcno}".*
done
ctest --test-dir "$build" -j2 --output-on-failure

# Only this build's counts; CMake's compiler check was built with the flags
# too, and is not the checker's.
gcovr_args=(--root "$root" --object-directory "$build" --filter "$root/src/"
            --exclude-directories "$build/CMakeFiles/[0-9.]+"
            --exclude-throw-branches --exclude-unreachable-branches
            --exclude-branches-by-pattern '.*\bassert\(' "$build")
echo "== Files with lines no test runs"
gcovr "${gcovr_args[@]}" --txt - | grep -Ev ' (100|--)%'
echo "== Files with branches no test takes"
gcovr "${gcovr_args[@]}" --branches --txt - | grep -Ev ' (100|--)%'
# The summary goes with a full table into a file of the build folder: gcovr
# tests an output path by opening and then unlinking it, so it is never handed
# a device or any other path outside the checkout.
gcovr "${gcovr_args[@]}" --print-summary --txt "$build/coverage.txt"
echo "== Without the batch program"
gcovr "${gcovr_args[@]}" --exclude "$root/src/(batch/|os/process_|entry/batch_main)" \
  --print-summary --txt "$build/coverage-single-run.txt"
