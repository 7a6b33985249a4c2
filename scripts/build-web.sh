#!/usr/bin/env bash
# Builds the web edition of the checker with Emscripten and runs its tests.
#
# From the same sources as build/quelt it makes, in build-web/:
#   quelt.js, quelt.wasm     the command line under Node: node build-web/quelt.js ARGS
#   site/                    the page and its files, for any static web server
#   quelt-kontrola.html      the same page as one file, to open from disk
# then runs the golden suite with quelt.js under Node and the page's browser
# test (tests/web/page_test.mjs) in Chromium, Firefox and WebKit, which
# compares the page's reports with the native build's.
#
# It installs what it needs from Debian's packages the first time (emscripten;
# only for the tests: the browsers, WebKit's driver and a virtual X display,
# and the browser test's npm packages).
#
#   scripts/build-web.sh                   build, run the golden suite and the browser test
#   QUELT_WEB_TESTS=0 scripts/build-web.sh build only
#   QUELT_BROWSERS=firefox scripts/build-web.sh   the browser test in Firefox alone
# Variables: QUELT_WEB_BUILD (build folder, default build-web), QUELT_BROWSERS
# (the browser test's engines, default chromium,firefox,webkit),
# QUELT_EMSCRIPTEN_ACCEPT (an Emscripten version other than the tested one to
# build with anyway: cmake/web.cmake).
set -euo pipefail
started_in=$PWD
cd "$(dirname "$0")/.."
build=${QUELT_WEB_BUILD:-build-web}
jobs=$(nproc 2>/dev/null || echo 2)
tests=${QUELT_WEB_TESTS:-1}
export QUELT_BROWSERS=${QUELT_BROWSERS:-chromium,firefox,webkit}
started=$SECONDS

source scripts/packages.sh
source scripts/data-folder.sh

#   QUELT_DATA_DIR=/path/to/lists scripts/build-web.sh
# builds with that folder's code lists and registers (default data/; a
# relative name is taken from where the command was started), the page
# showing its label; the tests need the samples in data/ and are not run on
# another folder's build. QUELT_CORE_FROM names a build folder of the same
# kind whose compiled checker is linked instead of compiling one (a relink).
# Both are always passed on: CMake's cache would keep what the build folder
# was first made with.
data=$(data_folder "$started_in")
export QUELT_DATA_DIR=$data   # for tools/assemble-web.mjs: the page's label
golden=ON
if ! is_samples_folder "$data"; then
  golden=OFF
  [ "$tests" = 0 ] || echo "The web edition's tests need the samples in data/: not run on a build with $data"
  tests=0
fi

packages=(emscripten)
if [ "$tests" != 0 ]; then
  browsers=$(browser_packages "$QUELT_BROWSERS")
  packages+=(python3 $browsers)
fi
install_packages "${packages[@]}"
installed=$SECONDS

# Debian's Emscripten runs its JavaScript optimiser with Node, which finds
# Debian's acorn only on this path.
export NODE_PATH=/usr/share/nodejs
note_data_folder "$build" "$data"
emcmake cmake -S . -B "$build" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release -DQUELT_TESTS=$golden \
        -DQUELT_DATA_DIR="$data" -DQUELT_CORE_FROM="${QUELT_CORE_FROM:-}" -DQUELT_UNIT_TESTS=OFF \
        -DQUELT_GOLDEN_RUNNER=node -DQUELT_EMSCRIPTEN_ACCEPT="${QUELT_EMSCRIPTEN_ACCEPT:-}" >/dev/null
cmake --build "$build" -j"$jobs" --target quelt quelt_web quelt_web_asyncify quelt_page_texts
node tools/assemble-web.mjs "$build"
echo "Web edition: $build/quelt.js, $build/site/, $build/quelt-kontrola.html"
built=$SECONDS

if [ "$tests" = 0 ]; then
  echo "Web timings: packages $((installed - started)) s, build $((built - installed)) s"
  exit 0
fi

# The golden suite with the command line under Node.
suite=0
ctest --test-dir "$build" --output-on-failure -j"$jobs" || suite=$?
golden=$SECONDS

# The browser test compares the page with the native checker, build/quelt
# (and its summary with build/quelt-davka's),
# brought up to date from these sources and the samples first: an older
# binary, or one built with other lists, would make the comparison wrong.
note_data_folder build "$data"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUELT_DATA_DIR="$data" -DQUELT_CORE_FROM= >/dev/null
cmake --build build -j"$jobs" --target quelt quelt-davka
install_browser_driver "$PWD"
driver=$SECONDS
browser=0
said=$(mktemp)
trap 'rm -f "$said"' EXIT
QUELT_WEB_BUILD="$PWD/$build" run_with_browsers "$QUELT_BROWSERS" node --test tests/web/page_test.mjs 2>&1 |
  tee "$said" || browser=$?

echo "Web timings: packages $((installed - started)) s, build $((built - installed)) s," \
     "golden suite $((golden - built)) s, browser test ($QUELT_BROWSERS) $((SECONDS - driver)) s"
# What failed, last: the long output above says why.
[ "$suite" = 0 ] || echo "The web edition's golden suite under Node failed: ctest's list of failed cases is above." >&2
if [ "$browser" != 0 ]; then
  echo "The browser test ($QUELT_BROWSERS) failed (status $browser) in:" >&2
  grep -E '^ *not ok ' "$said" | sed 's/^ */  /' >&2 || true
fi
[ "$suite" = 0 ] && [ "$browser" = 0 ]
