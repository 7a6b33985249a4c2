#!/usr/bin/env bash
# Builds the checker and runs every test: the unit tests and the golden
# end-to-end cases, first in the normal build, then in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, and last the Windows build:
# quelt.exe cross-compiled and the golden cases run under wine
# (scripts/build-windows.sh, which installs mingw-w64 and wine the first time),
# and the web edition: the golden cases with the WebAssembly command line
# under Node and the page's test in Chromium, Firefox and WebKit
# (scripts/build-web.sh, which installs Emscripten, the browsers and Xvfb the
# first time).
#
# Every build here takes the samples in data/, which the tests are written
# for: a build folder first configured with another data folder is switched
# back, with a message, and QUELT_DATA_DIR is not used (scripts/release.sh
# builds and checks a campaign's copy).
#
# Switches (environment variables):
#   QUELT_SKIP_SANITIZE=1  no sanitizer build
#   QUELT_WINDOWS=0        no Windows build and suite under wine
#   QUELT_WEB=0            no web edition and browser test
#   QUELT_SCRIPT_TEST=0    no test of this script itself (below)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

source scripts/data-folder.sh
data=$root/data
if [ -n "${QUELT_DATA_DIR:-}" ] && ! is_samples_folder "$(data_folder "$root")"; then
  echo "The tests need the samples in data/: QUELT_DATA_DIR=$QUELT_DATA_DIR is not used" >&2
fi
export QUELT_DATA_DIR=$data

# Configures build folder $1 with the samples and the arguments that follow.
configure() {
  local build=$1
  shift
  note_data_folder "$build" "$data"
  cmake -S . -B "$build" -DQUELT_DATA_DIR="$data" -DQUELT_CORE_FROM= "$@" >/dev/null
}

# The test that packs the release needs these (tools/CMakeLists.txt).
source scripts/packages.sh
install_packages zip unzip cmark-gfm nodejs

configure build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# This script's own test: build/ configured with another data folder first, as
# an office making its release would, and the native suite must still pass.
if [ "${QUELT_SCRIPT_TEST:-1}" = 1 ]; then
  tests/scripts/run_tests_test.sh
fi

if [ "${QUELT_SKIP_SANITIZE:-0}" != 1 ]; then
  configure build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELT_SANITIZE=ON
  cmake --build build-sanitize -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
fi

if [ "${QUELT_WINDOWS:-1}" = 1 ]; then
  scripts/build-windows.sh
fi

if [ "${QUELT_WEB:-1}" = 1 ]; then
  scripts/build-web.sh
fi
