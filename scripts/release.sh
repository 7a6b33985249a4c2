#!/usr/bin/env bash
# Makes the release archive for Windows users: build-release/quelt-windows-x64-VERSION.zip
# with quelt.exe, the web page quelt-kontrola.html (the same checker in the
# browser, one file), the README, the Czech user guide (docs/navod.md), the
# table of all finding codes (docs/kody.md, printed from the catalogue compiled
# into the checker, so it always matches the reports) and the example submission.
#
# quelt.exe comes from scripts/build-windows.sh, which also runs the golden
# suite under wine (QUELT_WINDOWS_TESTS=0 skips it); the page from
# scripts/build-web.sh, which runs its tests too (QUELT_WEB_TESTS=0 skips them). The archive holds the
# texts with CR LF line ends, and every file carries the time of the last
# commit, so the same commit gives the same archive.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=build-release
host=build-release-host
jobs=$(nproc 2>/dev/null || echo 2)

scripts/build-windows.sh
scripts/build-web.sh

source scripts/packages.sh
install_packages zip

# The code table comes from a host build of the catalogue tool.
cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DQUELT_TESTS=OFF >/dev/null
cmake --build "$host" -j"$jobs" --target quelt_catalogue_table

version=$(git describe --tags --always --dirty 2>/dev/null || echo unknown)
name=quelt-windows-x64-$version
stage=$out/$name
rm -rf "$out"   # one archive at a time: the folder holds this release only
mkdir -p "$stage/docs"
cp build-windows/quelt.exe "$stage/"
cp build-web/quelt-kontrola.html "$stage/"
cp README.md "$stage/"
cp docs/navod.md "$stage/docs/"
"$host/tools/quelt_catalogue_table" > "$stage/docs/kody.md"
cp examples/priklad.xml "$stage/"

stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$stage" -exec touch -h -d "@$stamp" {} +

# Texts get CR LF (-l) for Notepad; the program, the page and the
# Windows-1250 example stay byte for byte. -X: no extra Unix attributes; names in a fixed order.
(
  cd "$out"
  zip -q -X -l "$name.zip" "$name/README.md" "$name/docs/navod.md" "$name/docs/kody.md"
  zip -q -X "$name.zip" "$name/quelt.exe" "$name/quelt-kontrola.html" "$name/priklad.xml"
)
archive=$root/$out/$name.zip

# The packed program, run as a user would: on the example, under wine.
if [ "${QUELT_WINDOWS_TESTS:-1}" != 0 ]; then
  check=$(mktemp -d)
  trap 'rm -rf "$check"' EXIT
  (cd "$check" && unzip -q "$archive")
  export WINEPREFIX=${QUELT_WINEPREFIX:-$root/build-windows/wine}
  export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  wine=$(command -v wine64 || command -v /usr/lib/wine/wine64 || command -v wine)
  (cd "$check/$name" && "$wine" quelt.exe priklad.xml chyby.htm </dev/null >/dev/null 2>&1)
  grep -q 'Celkem chyb' "$check/$name/chyby.htm"
  # Wait for the wine server that run started to end by itself, so that no
  # later wine run (a new build-windows/ in the same place) meets it.
  wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
  [ -x "$wineserver" ] || wineserver=wineserver
  "$wineserver" -w || true
  echo "The packed quelt.exe checked the example."
fi

unzip -l "$archive"
sha256sum "$archive"
