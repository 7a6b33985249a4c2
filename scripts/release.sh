#!/usr/bin/env bash
# Makes the release archive for Windows users,
# build-release/quelt-windows-x64-VERSION-LABEL.zip, and SHA256SUMS beside
# it. What the archive holds and how it is packed: scripts/pack-release.sh
# (the page quelt-kontrola.html, quelt.exe, the guide and the codes as pages,
# the example, the label kampan.txt; the English README in pro-spravce/).
#
#   scripts/release.sh                                 with the samples in data/
#   QUELT_DATA_DIR=/path/to/lists scripts/release.sh   with a campaign's lists
#   QUELT_VERSION=2010.1 scripts/release.sh            the version named by the office
#
# The data folder holds the nine list files (data/README.md) and kampan.txt,
# one line in UTF-8 saying which campaign and registers it holds; LABEL in
# the archive's name is its short ASCII form. A relative QUELT_DATA_DIR is
# taken from where the command was started. VERSION: tools/version.mjs
# (QUELT_VERSION, else the commit's tag such as v2010.1, else an unmarked
# build with its hash).
#
# The tests run on builds with the samples in data/, which the golden cases
# and the page's test need: scripts/build-windows.sh runs the golden suite
# under wine (QUELT_WINDOWS_TESTS=0 skips it), scripts/build-web.sh the web
# edition's tests (QUELT_WEB_TESTS=0 skips them). With a campaign's folder
# each target is built once more with its lists, linked from the tested
# build's compiled checker (a relink), and those builds are packed.
#
# After packing (twice, the second time only to compare the bytes), the
# archive is unpacked and checked as shipped: the texts' byte order marks and
# line ends, the example's bytes; the packed quelt.exe under wine on the
# example; the packed page opened from disk in Chromium and Firefox (and
# WebKit where its driver is installed) on the example, with its label, and
# the guide and the codes under axe-core (tools/release_check.mjs). The
# example is examples/priklad.xml with the values that registers decide taken
# from the folder's lists (tools/campaign.mjs example): ER202, WR204 or EL046
# on it would mean the build does not carry the folder's registers.
#
# An earlier release in build-release/ is moved into a folder of its own
# there, never removed.
#
# Each step announces itself ("Release step: ..."); a step that fails shows
# its own output, and the release ends with one line naming that step.
set -euo pipefail
started_in=$PWD
cd "$(dirname "$0")/.."
root=$PWD
out=build-release
host=build-release-host
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS
check=
again=

# The step under way, named for the line that ends a failed release.
step='the start'
begin_step() {
  step=$1
  echo "Release step: $step"
}

# Whatever way the release ends: the unpacked archive's scratch folder goes,
# and a failure's last line names the step that failed (its own output,
# above, says why).
end_release() {
  local status=$?
  [ -z "$check" ] || rm -rf "$check"
  [ -z "$again" ] || rm -rf "$again"
  if [ "$status" != 0 ]; then
    echo "Release failed (status $status) at the step: $step" >&2
  fi
}
trap end_release EXIT

# Runs a command whose output matters only when it fails: then it is shown.
quietly() {
  local said status=0
  said=$(mktemp)
  "$@" >"$said" 2>&1 || status=$?
  [ "$status" = 0 ] || cat "$said" >&2
  rm -f "$said"
  return "$status"
}

begin_step 'the packages the release needs'
source scripts/packages.sh
source scripts/data-folder.sh
install_packages zip unzip nodejs cmark-gfm

# The folder first: a folder without its label, or with a list the build
# would refuse (the message names the file and the entry), stops the release
# before anything is built.
begin_step 'the data folder: its label kampan.txt and its lists'
data=$(data_folder "$started_in")
label=$(node tools/campaign.mjs label "$data")
lists=$(mktemp)
cmake -DDATA_DIR="$data" -DOUTPUT="$lists" -P cmake/codelists_generate.cmake || { rm -f "$lists"; exit 1; }
rm -f "$lists"
ascii=$(node tools/campaign.mjs ascii "$data")
samples=$(node tools/campaign.mjs samples "$data")
echo "Release with the lists of $data: $label"
if [ -n "$samples" ] && ! is_samples_folder "$data"; then
  echo "Warning: registers of $data are the samples of data/ (findings $samples do not hold" \
       "for real submissions); the page and kampan.txt say so" >&2
fi

# The tested builds, with the samples.
begin_step 'quelt.exe with the samples and its golden suite under wine (scripts/build-windows.sh)'
QUELT_DATA_DIR=$root/data QUELT_CORE_FROM= QUELT_WINDOWS_BUILD=build-windows scripts/build-windows.sh
begin_step 'the web edition with the samples, its golden suite under Node and its browser test (scripts/build-web.sh)'
QUELT_DATA_DIR=$root/data QUELT_CORE_FROM= QUELT_WEB_BUILD=build-web scripts/build-web.sh
windows=build-windows
web=build-web
tested=$SECONDS

# The packed builds, with the campaign's lists: the tested builds relinked.
if ! is_samples_folder "$data"; then
  windows=build-windows-kampan
  web=build-web-kampan
  begin_step "quelt.exe relinked with the lists of $data (scripts/build-windows.sh)"
  QUELT_DATA_DIR=$data QUELT_CORE_FROM=$root/build-windows QUELT_WINDOWS_BUILD=$windows \
    QUELT_WINDOWS_TESTS=0 scripts/build-windows.sh
  begin_step "the web edition relinked with the lists of $data (scripts/build-web.sh)"
  QUELT_DATA_DIR=$data QUELT_CORE_FROM=$root/build-web QUELT_WEB_BUILD=$web \
    QUELT_WEB_TESTS=0 scripts/build-web.sh
fi
relinked=$SECONDS

# The code table comes from a host build of the catalogue tool.
begin_step "the host build of the table of finding codes ($host)"
quietly cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DQUELT_TESTS=OFF \
      -DQUELT_DATA_DIR="$root/data" -DQUELT_CORE_FROM=
cmake --build "$host" -j"$jobs" --target quelt_catalogue_table
table=$host/tools/quelt_catalogue_table

# Earlier releases stay: whatever the folder holds is moved aside, into a
# folder named after the time it is moved, and said so.
keep_earlier_releases() {
  local earlier
  [ -d "$out" ] && [ -n "$(find "$out" -maxdepth 1 -type f -print -quit)" ] || return 0
  earlier=$out/earlier-$(date -u +%Y%m%dT%H%M%SZ)
  mkdir -p "$earlier"
  find "$out" -maxdepth 1 -type f -exec mv {} "$earlier/" \;
  echo "The earlier release in $out/ is kept in $earlier/."
}
begin_step "moving an earlier release in $out aside"
keep_earlier_releases
begin_step 'packing (scripts/pack-release.sh)'
name=$(QUELT_DATA_DIR=$data scripts/pack-release.sh "$out" "$windows" "$web" "$table")
archive=$root/$out/$name
# Packing again from the same builds must give the same bytes.
begin_step 'packing again from the same builds, for the same bytes'
again=$(mktemp -d)
QUELT_DATA_DIR=$data scripts/pack-release.sh "$again" "$windows" "$web" "$table" >/dev/null
if ! cmp -s "$archive" "$again/$name" || ! cmp -s "$out/SHA256SUMS" "$again/SHA256SUMS"; then
  echo "Packing twice from the same builds gave different archives: $archive and $again/$name" >&2
  again=
  exit 1
fi
rm -rf "$again"
again=
packed=$SECONDS

# ---- The archive as shipped: unpacked, each file checked where a clerk meets it ----

begin_step 'unpacking the archive'
check=$(mktemp -d)
(cd "$check" && unzip -q "$archive")

# The report's rows of findings that a register decides.
register_findings() {
  grep -E '^[^;]*;(ER202|WR204|EL046);' "$1" || true
}

# A run's CSV report must be complete and hold no register finding.
check_report() {
  local who=$1 report=$2 found
  if ! grep -q 'Celkem chyb vahy W' "$report"; then
    echo "$who: the check of the example did not finish" >&2
    return 1
  fi
  found=$(register_findings "$report")
  if [ -n "$found" ]; then
    printf '%s: the example gets register findings, so the build does not carry the lists of %s:\n%s\n' \
           "$who" "$data" "$found" >&2
    return 1
  fi
  echo "$who checked the example without a register finding."
}

# Runs a program of the unpacked archive under wine in folder $1, writing
# the output $2 (how the helper tells a failed start), through the
# scripts' one wine helper (one retry of a failed start, wine's own output on
# a second failure); then waits for the wine server that run started to end
# by itself, so that no later wine run (a new build-windows/ in the same
# place) meets it.
run_under_wine() {
  local dir=$1 output=$2 status=0 wine wineserver
  shift 2
  export WINEPREFIX=${QUELT_WINEPREFIX:-$root/build-windows/wine}
  (cd "$dir" && quietly "$root/scripts/wine-run.sh" --output "$output" "$@") || status=$?
  wine=$(source "$root/scripts/wine-run.sh" && find_wine)
  wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
  [ -x "$wineserver" ] || wineserver=wineserver
  "$wineserver" -w || true
  return "$status"
}

# The texts for reading carry a byte order mark and CR LF; the example is the
# Windows-1250 bytes made for the folder's lists.
check_texts() {
  local text example
  for text in kampan.txt pro-spravce/README.md; do
    if [ "$(head -c 3 "$check/$text" | od -An -tx1 | tr -d ' ')" != efbbbf ] ||
       [ "$(tr -cd '\n' <"$check/$text" | wc -c)" != "$(grep -c $'\r$' "$check/$text")" ]; then
      echo "$text in the archive lacks its byte order mark or a CR LF line end" >&2
      return 1
    fi
  done
  example=$(mktemp)
  node tools/campaign.mjs example "$data" examples/priklad.xml "$example"
  cmp -s "$example" "$check/priklad.xml" || { echo "priklad.xml in the archive is not the example's bytes" >&2; rm -f "$example"; return 1; }
  rm -f "$example"
  echo "kampan.txt and pro-spravce/README.md: byte order mark and CR LF; priklad.xml: the example's bytes."
}
begin_step 'the unpacked texts and the example'
check_texts

# The packed program, run as a user would: on the example, under wine.
if [ "${QUELT_WINDOWS_TESTS:-1}" != 0 ]; then
  begin_step 'the packed quelt.exe on the example under wine'
  run_under_wine "$check" chyby.csv quelt.exe priklad.xml chyby.csv
  check_report "The packed quelt.exe" "$check/chyby.csv"
  rm -f "$check/chyby.csv"
else
  echo "The packed quelt.exe not run (QUELT_WINDOWS_TESTS=0)."
fi

# The packed page opened from disk, the guide and the codes, in Chromium and
# Firefox, and in WebKit where its driver is installed.
begin_step 'the packed pages opened from disk in the browsers (tools/release_check.mjs)'
engines=chromium,firefox
command -v WebKitWebDriver >/dev/null && engines+=,webkit
install_packages $(browser_packages "$engines")
install_browser_driver "$root"
QUELT_BROWSERS=$engines run_with_browsers "$engines" \
  node tools/release_check.mjs "$check" "$label" "$samples" "$(node tools/version.mjs text)"

step='the listing of the archive'
unzip -l "$archive"
echo "Checksum, in $out/SHA256SUMS:"
cat "$out/SHA256SUMS"
echo "Release timings: tested builds $((tested - started)) s, campaign builds $((relinked - tested)) s," \
     "packing $((packed - relinked)) s, checks $((SECONDS - packed)) s"
