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
# QUELT_SKIP_SANITIZE=1, QUELT_WINDOWS=0 and QUELT_WEB=0 leave out those parts.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

# The test that packs the release needs these (tools/CMakeLists.txt).
source scripts/packages.sh
install_packages zip unzip cmark-gfm nodejs

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${QUELT_SKIP_SANITIZE:-0}" != 1 ]; then
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELT_SANITIZE=ON >/dev/null
  cmake --build build-sanitize -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
fi

if [ "${QUELT_WINDOWS:-1}" = 1 ]; then
  scripts/build-windows.sh
fi

if [ "${QUELT_WEB:-1}" = 1 ]; then
  scripts/build-web.sh
fi
