#!/usr/bin/env bash
# A release that fails ends with one line naming the step that failed, and
# above it that step's own message. Provoked here where it costs nothing: a
# data folder the release refuses before it builds anything.
#   tests/scripts/release_failure_test.sh      (CTest: scripts.release_failure)
# Exit 77 (skipped) where a package the release would install first is missing.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
for p in zip unzip nodejs cmark-gfm; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || { echo "skipped: no $p"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

# A copy of the samples, spoiled by $1.
folder() {
  rm -rf "$work/lists"
  mkdir "$work/lists"
  cp "$root"/data/*.txt "$work/lists/"
  (cd "$work/lists" && eval "$1")
}

data_step='Release failed (status 1) at the step: the data folder: its label kampan.txt and its lists'
# the folder spoiled by | the step's own message (a part of it)
while IFS='|' read -r spoil said; do
  folder "$spoil"
  (cd "$root" && QUELT_DATA_DIR=$work/lists scripts/release.sh) > "$work/out" 2>&1
  status=$?
  [ "$status" = 1 ] || fail "$spoil: status $status"
  [ "$(tail -n 1 "$work/out")" = "$data_step" ] || fail "$spoil: the last line is not the step's: $(tail -n 3 "$work/out")"
  grep -qF -- "$said" "$work/out" || fail "$spoil: the step's own message \"$said\" is not shown: $(cat "$work/out")"
done <<'TABLE'
rm kampan.txt|has no kampan.txt
printf 'ORV\nsecond line\n' > kampan.txt|one line
printf '9999 zzz\n0001 aaa\n' >> districts.txt|districts.txt
cd .. && rm -r lists|there is no folder
TABLE

[ "$failed" = 0 ] && echo "A refused data folder ends the release with the step's line, its message above."
exit "$failed"
