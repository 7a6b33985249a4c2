#!/usr/bin/env bash
# quelt-davka and what happens to a running batch in an office (Linux):
#   - a worker that stops (SIGSTOP) is ended by its file's time limit and
#     replaced; its row says so, every other file is checked;
#   - Ctrl+C (SIGINT), SIGTERM and a closed terminal (SIGHUP) end the batch
#     with the whole summary on the disk: the files checked, the others not
#     checked;
#   - the summary is never more than about a second behind the console, and
#     after SIGKILL it is whole and that far behind at most;
#   - no worker outlives the batch, however it ends.
#   tests/batch/signals_test.sh DAVKA SOURCE_DIR WORK_DIR
set -euo pipefail
# Job control: a background job of a script would otherwise ignore SIGINT.
set -m
export LC_ALL=C
davka=$1
source_dir=$2
work=$3
rm -rf "$work"
mkdir -p "$work/in"
cd "$work"
files=3000
example=$(cat "$source_dir/examples/priklad.xml")
for i in $(seq -w 1 $files); do printf '%s\n' "$example" > "in/p$i.xml"; done
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The processes whose parent is $1, from /proc (no procps on a fresh machine).
children_of() {
  local stat pid comm state ppid rest
  for stat in /proc/[0-9]*/stat; do
    read -r pid comm state ppid rest < "$stat" 2>/dev/null || continue
    [ "$ppid" = "$1" ] && echo "$pid"
  done
  return 0
}

# The two worker processes of a batch, once it has started both.
workers_of() {
  local pids=""
  for _ in $(seq 1 1000); do
    pids=$(children_of "$1")
    [ "$(echo "$pids" | wc -w)" = 2 ] && { echo "$pids"; return 0; }
    sleep 0.005
  done
  return 1
}

# Fails unless none of the processes is left (a process ended but not yet
# collected by its new parent counts as ended).
none_left() {
  local pid state
  for pid in $2; do
    state=""
    [ -r "/proc/$pid/stat" ] && read -r _ _ state _ < "/proc/$pid/stat" 2>/dev/null
    if [ -n "$state" ] && [ "${state#Z}" = "$state" ]; then
      fail "$1: worker $pid outlived the batch"
      kill -9 "$pid" || true
    fi
  done
}

rows() { tail -n +2 "$1" | wc -l; }
complete_rows() { grep -ac ';kontrola dokon' "$1" || true; }

# 1. Both workers stop; each file they hold passes its time limit of a
# second, their replacements check the rest.
"$davka" -j 2 -t 1 -o limit in > limit.txt 2>&1 &
batch=$!
pids=$(workers_of $batch) || fail "limit: no workers"
kill -STOP $pids
status=0
wait $batch || status=$?
[ $status = 13 ] || fail "limit: status $status, expected 13"
stopped=$(grep -ac 'prekrocila casovy limit 1 s, zastavena' limit/souhrn.csv || true)
[ "$stopped" -ge 1 ] && [ "$stopped" -le 2 ] || fail "limit: $stopped rows stopped by the time limit"
[ "$(rows limit/souhrn.csv)" = $files ] || fail "limit: $(rows limit/souhrn.csv) rows"
[ "$(complete_rows limit/souhrn.csv)" = $((files - stopped)) ] || fail "limit: not every other file was checked"
grep -aq 'Kontrola souboru  in/p.*prekrocila casovy limit' limit.txt || fail "limit: the console does not say it"
none_left limit "$pids"

# 2. The workers stop, the summary catches up with the console, then the
# batch is asked to stop (or killed): its summary is whole.
for signal in INT TERM HUP KILL; do
  out=$(echo "stop-$signal" | tr 'A-Z' 'a-z')
  "$davka" -j 2 -o "$out" in > "$out.txt" 2>&1 &
  batch=$!
  pids=$(workers_of $batch) || fail "$signal: no workers"
  kill -STOP $pids
  sleep 1.5
  said=$(grep -ac '^\[' "$out.txt" || true)
  [ "$(complete_rows "$out/souhrn.csv")" = "$said" ] ||
    fail "$signal: the summary has $(complete_rows "$out/souhrn.csv") complete rows, the console $said"
  kill -"$signal" $batch
  status=0
  wait $batch || status=$?
  sleep 0.2
  none_left "$signal" "$pids"
  [ "$(rows "$out/souhrn.csv")" = $files ] || fail "$signal: $(rows "$out/souhrn.csv") rows"
  [ "$(tail -c 1 "$out/souhrn.csv" | od -An -c | tr -d ' ')" = '\n' ] || fail "$signal: the summary ends mid-row"
  if [ $signal = KILL ]; then continue; fi
  [ $status = 13 ] || fail "$signal: status $status, expected 13"
  grep -aq 'nezkontrolov.no: d.vka byla p.eru.ena' "$out/souhrn.csv" || fail "$signal: no row stands as not checked"
  grep -aq ' Kontrola prerusena' "$out.txt" || fail "$signal: the console does not say it stopped"
  grep -aq 'Kontrola byla p' "$out/souhrn.htm" || fail "$signal: souhrn.htm does not say it stopped"
done

if [ $failures != 0 ]; then
  echo "$failures failures"
  exit 1
fi
cd /
rm -rf "$work"
