#!/usr/bin/env bash
# Test of scripts/wine-run.sh with a stand-in for wine that fails to start
# the program as often as it is told to, the way wine now and then does, and
# otherwise runs the "program" (a shell command) itself: a failed start is
# made once more, a second one shows wine's output, and the program's own
# ending (status 1 of `quelt -h`, status 13 with a message) is never
# taken for a failed start.
#   tests/scripts/wine_run_test.sh      (CTest: scripts.wine_run)
set -uo pipefail
helper=$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The stand-in: fails (status 1) while the count in ./failures is above 0,
# saying what $SAYS holds on standard error; then runs its first argument.
cat > wine <<'STANDIN'
#!/usr/bin/env bash
echo run >> runs
left=$(cat failures 2>/dev/null || echo 0)
if [ "$left" -gt 0 ]; then
  echo $((left - 1)) > failures
  [ -z "${SAYS:-}" ] || echo "$SAYS" >&2
  exit 1
fi
exec bash -c "$1"
STANDIN
chmod +x wine
export QUELT_WINE=$work/wine

failed=0
# case_ NAME FAILURES WANT_STATUS WANT_RUNS WANT_STDOUT WANT_STDERR -- HELPER_ARGS...
# WANT_STDERR: patterns joined by '&', each to be found on standard error
# (empty: standard error must be empty).
case_() {
  local name=$1 failures=$2 want_status=$3 want_runs=$4 want_out=$5 want_err=$6
  shift 7
  rm -f runs out.csv
  echo "$failures" > failures
  local status=0
  "$helper" "$@" >stdout 2>stderr || status=$?
  local runs
  runs=$(wc -l < runs)
  local why=""
  [ "$status" = "$want_status" ] || why+=" status $status, not $want_status;"
  [ "$runs" = "$want_runs" ] || why+=" $runs runs, not $want_runs;"
  [ "$(cat stdout)" = "$want_out" ] || why+=" standard output '$(cat stdout)', not '$want_out';"
  local pattern
  IFS='&' read -ra patterns <<< "$want_err"
  [ -n "$want_err" ] || { [ -s stderr ] && why+=" standard error not empty: '$(cat stderr)';"; }
  for pattern in "${patterns[@]}"; do
    grep -qE "$pattern" stderr || why+=" standard error lacks /$pattern/: '$(cat stderr)';"
  done
  if [ -n "$why" ]; then echo "FAIL $name:$why"; failed=1; else echo "ok   $name"; fi
}

SAYS="wine: could not load kernel32.dll, status c0000135" \
case_ "a failed start that wine reports is made once more" 1 0 2 "checked" "did not start .*; once more" \
  -- 'echo checked'
case_ "a silent failed start is made once more" 1 0 2 "checked" "once more" \
  -- 'echo checked'
SAYS="wine client error:0: write: Bad file descriptor" \
case_ "a second failed start shows wine's own output and its status" 2 1 2 "" \
  "a second time \(status 1\); wine's output:$&^wine client error" -- 'echo checked'
case_ "status 1 with the program's output (quelt -h) is the program's own" 0 1 1 "help" "" \
  -- 'echo help; exit 1'
case_ "status 13 with a message is the program's own" 0 13 1 "Nelze otevrit soubor" "" \
  -- 'echo Nelze otevrit soubor; exit 13'
case_ "a named output that exists is the program's: no second run" 0 1 1 "" "" \
  -- --output out.csv 'touch out.csv; exit 1'
case_ "a named output missing and nothing written: a failed start" 0 1 2 "" "once more&a second time" \
  -- --output out.csv 'exit 1'
exit $failed
