#!/usr/bin/env bash
# Test of scripts/run-tests.sh against a build folder that carries another
# campaign: build/ is configured with a data folder of other registers (as
# the README's campaign build does) and its code lists are built, then
# run-tests.sh (the native part alone: no sanitizer, Windows or web build)
# must say that it switches build/ back to the samples and pass. Many golden
# and unit cases use the two occupation codes the other folder lacks, so a
# build/ still carrying that folder fails them.
#
#   tests/scripts/run_tests_test.sh     (scripts/run-tests.sh runs it; QUELT_SCRIPT_TEST=0 does not)
set -euo pipefail
cd "$(dirname "$0")/../.."
other=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$other" "$log"' EXIT

cp data/*.txt "$other/"
sed -i -e '/^11210$/d' -e '/^93399$/d' "$other/occupations.txt"
cmake -S . -B build -DQUELT_DATA_DIR="$other" >/dev/null
cmake --build build --target quelt_codelists >/dev/null
grep -q '^    "12111",' build/generated/codelists.cpp || { echo "build/ did not take $other" >&2; exit 1; }

status=0
QUELT_SKIP_SANITIZE=1 QUELT_WINDOWS=0 QUELT_WEB=0 QUELT_SCRIPT_TEST=0 scripts/run-tests.sh >"$log" 2>&1 || status=$?
if [ "$status" != 0 ]; then
  tail -n 40 "$log"
  echo "scripts/run-tests.sh failed ($status) on a build/ configured with other lists" >&2
  exit 1
fi
if ! grep -qF "build/ was configured with the lists of $other" "$log"; then
  echo "scripts/run-tests.sh switched build/ from $other without saying so" >&2
  exit 1
fi
echo "scripts/run-tests.sh on a build/ configured with other lists: switched back with a message, passed"
