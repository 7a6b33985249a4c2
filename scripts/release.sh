#!/usr/bin/env bash
# Makes the release archive for Windows users:
# build-release/quelt-windows-x64-VERSION-LABEL.zip with quelt.exe, the web
# page quelt-kontrola.html (the same checker in the browser, one file), the
# label of the registers it carries (kampan.txt), the README, the Czech user
# guide (docs/navod.md), the table of all finding codes (docs/kody.md, printed
# from the catalogue compiled into the checker, so it always matches the
# reports) and an example submission.
#
#   scripts/release.sh                                 with the samples in data/
#   QUELT_DATA_DIR=/path/to/lists scripts/release.sh   with a campaign's lists
#
# The data folder holds the nine list files (data/README.md) and kampan.txt,
# one line in UTF-8 saying which campaign and registers it holds; LABEL in
# the archive's name is its short ASCII form. A relative QUELT_DATA_DIR is
# taken from where the command was started.
#
# The tests run on builds with the samples in data/, which the golden cases
# and the page's test need: scripts/build-windows.sh runs the golden suite
# under wine (QUELT_WINDOWS_TESTS=0 skips it), scripts/build-web.sh the web
# edition's tests (QUELT_WEB_TESTS=0 skips them). With a campaign's folder
# each target is built once more with its lists, linked from the tested
# build's compiled checker (a relink), and those builds are packed.
#
# The example is examples/priklad.xml with the values that registers decide
# taken from the folder's lists (tools/campaign.mjs example). The packed
# quelt.exe (under wine; QUELT_WINDOWS_TESTS=0 skips it) and the page's
# checker (its command line under Node) check it, and must find nothing that
# a register decides: ER202, WR204 or EL046 there would mean the build does
# not carry the folder's registers.
#
# The archive holds the texts with CR LF line ends, and every file carries the
# time of the last commit, so the same commit and lists give the same archive.
set -euo pipefail
started_in=$PWD
cd "$(dirname "$0")/.."
root=$PWD
out=build-release
host=build-release-host
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS

source scripts/packages.sh
source scripts/data-folder.sh
install_packages zip unzip nodejs

# The folder first: a folder without its label, or with a list the build
# would refuse (the message names the file and the entry), stops the release
# before anything is built.
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
QUELT_DATA_DIR=$root/data QUELT_CORE_FROM= QUELT_WINDOWS_BUILD=build-windows scripts/build-windows.sh
QUELT_DATA_DIR=$root/data QUELT_CORE_FROM= QUELT_WEB_BUILD=build-web scripts/build-web.sh
windows=build-windows
web=build-web
tested=$SECONDS

# The packed builds, with the campaign's lists: the tested builds relinked.
if ! is_samples_folder "$data"; then
  windows=build-windows-kampan
  web=build-web-kampan
  QUELT_DATA_DIR=$data QUELT_CORE_FROM=$root/build-windows QUELT_WINDOWS_BUILD=$windows \
    QUELT_WINDOWS_TESTS=0 scripts/build-windows.sh
  QUELT_DATA_DIR=$data QUELT_CORE_FROM=$root/build-web QUELT_WEB_BUILD=$web \
    QUELT_WEB_TESTS=0 scripts/build-web.sh
fi
relinked=$SECONDS

# The code table comes from a host build of the catalogue tool.
cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DQUELT_TESTS=OFF \
      -DQUELT_DATA_DIR="$root/data" -DQUELT_CORE_FROM= >/dev/null
cmake --build "$host" -j"$jobs" --target quelt_catalogue_table

version=$(git describe --tags --always --dirty 2>/dev/null || echo unknown)
name=quelt-windows-x64-$version-$ascii
stage=$out/$name
rm -rf "$out"   # one archive at a time: the folder holds this release only
mkdir -p "$stage/docs"
cp "$windows/quelt.exe" "$stage/"
cp "$web/quelt-kontrola.html" "$stage/"
node tools/campaign.mjs label-file "$data" "$stage/kampan.txt"
cp README.md "$stage/"
cp docs/navod.md "$stage/docs/"
"$host/tools/quelt_catalogue_table" > "$stage/docs/kody.md"
node tools/campaign.mjs example "$data" examples/priklad.xml "$stage/priklad.xml"

stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$stage" -exec touch -h -d "@$stamp" {} +

# Texts get CR LF (-l) for Notepad; the program, the page and the
# Windows-1250 example stay byte for byte. -X: no extra Unix attributes; names in a fixed order.
(
  cd "$out"
  zip -q -X -l "$name.zip" "$name/kampan.txt" "$name/README.md" "$name/docs/navod.md" "$name/docs/kody.md"
  zip -q -X "$name.zip" "$name/quelt.exe" "$name/quelt-kontrola.html" "$name/priklad.xml"
)
archive=$root/$out/$name.zip
packed=$SECONDS

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

check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
(cd "$check" && unzip -q "$archive")

# The packed program, run as a user would: on the example, under wine.
if [ "${QUELT_WINDOWS_TESTS:-1}" != 0 ]; then
  export WINEPREFIX=${QUELT_WINEPREFIX:-$root/build-windows/wine}
  source scripts/wine-run.sh
  wine=$(find_wine)
  (cd "$check/$name" && "$root/scripts/wine-run.sh" --output chyby.csv quelt.exe priklad.xml chyby.csv >/dev/null) || true
  # Wait for the wine server that run started to end by itself, so that no
  # later wine run (a new build-windows/ in the same place) meets it.
  wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
  [ -x "$wineserver" ] || wineserver=wineserver
  "$wineserver" -w || true
  check_report "The packed quelt.exe" "$check/$name/chyby.csv"
else
  echo "The packed quelt.exe not run (QUELT_WINDOWS_TESTS=0)."
fi

# The page's checker, as its command line under Node, on the packed example.
(cd "$check/$name" && node "$root/$web/quelt.js" priklad.xml chyby-web.csv >/dev/null)
check_report "The page's checker ($web)" "$check/$name/chyby-web.csv"

unzip -l "$archive"
sha256sum "$archive"
echo "Release timings: tested builds $((tested - started)) s, campaign builds $((relinked - tested)) s," \
     "packing $((packed - relinked)) s, checks $((SECONDS - packed)) s"
