#!/usr/bin/env bash
# Runs a Windows program under wine: the one way the project's scripts and
# the golden suite under wine (CTest's QUELT_GOLDEN_RUNNER in
# scripts/build-windows.sh) start quelt.exe.
#
#   scripts/wine-run.sh [--output FILE]... PROGRAM.exe ARGS...
#
# Now and then wine fails to start a program at all (seen in about one suite
# run of four): the run ends with a status of 1 and nothing written. A status
# alone does not tell that from the program's own ending (`quelt -h` ends
# with 1 too), so a run counts as a failed start when it ends with a status
# other than 0 and either wine itself said so on standard error (a line of
# its loader or server: the program writes nothing there) or the program
# left no output: nothing on standard output and none of the files named
# with --output. Such a run is made once more; when the second fails to
# start as well, wine's own output is shown. Either way the program's
# standard output, standard error and status are passed on as they came.
# Standard input is empty: a program that waits for a key must not hang a
# script.
#
# The caller sets WINEPREFIX; wine's debug chatter, its offers to install
# Mono or Gecko and any display are turned off here. Sourced instead of run,
# the file gives find_wine to scripts that start or stop the wine server.

# The wine loader for 64-bit programs: Debian's wine64 package puts it in
# /usr/lib/wine; newer wines call it plain wine. QUELT_WINE names another
# (the helper's test gives a stand-in).
find_wine() {
  local w
  if [ -n "${QUELT_WINE:-}" ]; then echo "$QUELT_WINE"; return 0; fi
  for w in wine64 /usr/lib/wine/wine64 wine; do
    if command -v "$w" >/dev/null 2>&1; then command -v "$w"; return 0; fi
  done
  echo "no wine found" >&2
  return 1
}

# Lines of wine's own on standard error: its loader's and server's messages
# ("wine: could not load kernel32.dll", "wine client error:...") and its
# error channel ("0024:err:...").
wine_said() {
  grep -E '^(wine|wineserver)[: ]|^([0-9a-f]+:)?err:' "$1"
}

# Whether the last run of wine_run_once failed to start: status $1, outputs $2...
failed_start() {
  local status=$1 file
  shift
  [ "$status" != 0 ] || return 1
  wine_said "$err" >/dev/null && return 0
  [ -s "$out" ] && return 1
  for file in "$@"; do [ -e "$file" ] && return 1; done
  return 0
}

wine_run() {
  local outputs=() wine status try
  while [ "${1:-}" = --output ]; do outputs+=("$2"); shift 2; done
  [ $# -gt 0 ] || { echo "usage: scripts/wine-run.sh [--output FILE]... PROGRAM.exe ARGS..." >&2; return 2; }
  wine=$(find_wine) || return 1
  export WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  out=$(mktemp) err=$(mktemp)
  trap 'rm -f "$out" "$err"' EXIT
  for try in 1 2; do
    status=0
    "$wine" "$@" </dev/null >"$out" 2>"$err" || status=$?
    failed_start "$status" "${outputs[@]}" || break
    if [ "$try" = 1 ]; then
      echo "wine-run: wine did not start $1 (status $status); once more" >&2
    else
      echo "wine-run: wine did not start $1 a second time (status $status); wine's output:" >&2
    fi
  done
  cat "$out"
  cat "$err" >&2
  return "$status"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  wine_run "$@"
fi
