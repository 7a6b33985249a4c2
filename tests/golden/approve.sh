#!/usr/bin/env bash
# Writes the outputs of a golden case's current run into its expected/ folder,
# for a new case or after a reviewed change of behaviour. Review the result
# with `git diff` before committing: never approve a difference unread.
#   tests/golden/approve.sh BUILD_DIR CASE_NAME [OUTPUT_NAME...]
# Without output names, the files already in expected/ are refreshed.
set -euo pipefail
build=$1; name=$2; shift 2
here=$(cd "$(dirname "$0")" && pwd)
case_dir=$here/cases/$name
ctest --test-dir "$build" -R "^golden\.$name\$" >/dev/null || true
work=$build/tests/golden/$name
mkdir -p "$case_dir/expected"
outputs=("$@")
if [ ${#outputs[@]} -eq 0 ]; then
  mapfile -t outputs < <(cd "$case_dir/expected" && find . -type f | sed 's|^\./||')
fi
for out in "${outputs[@]}"; do
  mkdir -p "$(dirname "$case_dir/expected/$out")"
  cp "$work/$out" "$case_dir/expected/$out"
done
