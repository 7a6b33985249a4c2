#!/usr/bin/env bash
# Packs the release archive from builds already made, and nothing else, so
# that packing can run on its own (scripts/release.sh builds, tests and then
# calls it; a test packs twice from the same builds and compares the bytes).
#
#   scripts/pack-release.sh OUT WINDOWS_BUILD WEB_BUILD CATALOGUE_TABLE
#
# OUT: the folder the archive and SHA256SUMS go to; WINDOWS_BUILD: the folder
# of quelt.exe and quelt-davka.exe; WEB_BUILD: the folder of quelt-kontrola.html; CATALOGUE_TABLE:
# the host program that prints the finding codes (tools/catalogue_table.cpp).
# QUELT_DATA_DIR names the data folder whose label and lists the builds carry
# (default data/); QUELT_VERSION the version (default: tools/version.mjs).
# Prints the archive's file name.
#
# What a clerk opens first is at the archive's top, in Czech: the checking
# page, quelt.exe (with quelt-davka.exe and zkontroluj-soubory.cmd, the way
# to check many files dropped on it), the guide and the codes as pages any browser opens from
# disk (tools/guide_pages.mjs), the example and the label kampan.txt. The
# English README for the office is in pro-spravce/. Texts meant for reading
# have CR LF and a UTF-8 byte order mark, for every Notepad; the program, the
# pages and the Windows-1250 example stay byte for byte. Every file carries
# the time of the last commit (or SOURCE_DATE_EPOCH), names go in a fixed
# order and zip runs in UTC, so the same builds give the same archive.
set -euo pipefail
started_in=$PWD
cd "$(dirname "$0")/.."
root=$PWD

if [ $# -ne 4 ]; then
  echo "usage: scripts/pack-release.sh OUT WINDOWS_BUILD WEB_BUILD CATALOGUE_TABLE" >&2
  exit 2
fi
absolute() { case $1 in /*) echo "$1" ;; *) echo "$started_in/$1" ;; esac; }
out=$(absolute "$1")
exe=$(absolute "$2")/quelt.exe
batch=$(absolute "$2")/quelt-davka.exe
page=$(absolute "$3")/quelt-kontrola.html
table=$(absolute "$4")
data=$(absolute "${QUELT_DATA_DIR:-$root/data}")
for f in "$exe" "$batch" "$page" "$table"; do
  [ -f "$f" ] || { echo "pack-release: $f is missing: build it first" >&2; exit 1; }
done

version=$(node tools/version.mjs ascii)
ascii=$(node tools/campaign.mjs ascii "$data")
name=quelt-windows-x64-$version-$ascii

# The page shows the version it was built with (tools/assemble-web.mjs), the
# archive's name, the guide and the codes the version of now: a tag, a commit
# or another QUELT_VERSION since the page was built would ship an archive
# that names two versions. Such a page is not packed.
check_page_version() {
  local shown wanted rebuild
  wanted=$(node tools/version.mjs text)
  if ! shown=$(node tools/version.mjs page "$page"); then
    echo "pack-release: the page shows no version; build it again, then pack again:" >&2
  elif [ "$shown" = "$wanted" ]; then
    return 0
  else
    echo "pack-release: the page $page shows the version \"$shown\", but the archive's version is" \
         "\"$wanted\" (a tag, a commit, changes not committed or QUELT_VERSION since the page was built)." \
         "Build the page with this version, then pack again:" >&2
  fi
  rebuild="QUELT_WEB_TESTS=0 QUELT_WEB_BUILD=$(printf %q "$(dirname "$page")")"
  [ -z "${QUELT_DATA_DIR:-}" ] || rebuild+=" QUELT_DATA_DIR=$(printf %q "$data")"
  [ -z "${QUELT_VERSION:-}" ] || rebuild+=" QUELT_VERSION=$(printf %q "$QUELT_VERSION")"
  echo "  $rebuild scripts/build-web.sh" >&2
  echo "or make the whole release with this version: scripts/release.sh" >&2
  return 1
}
check_page_version

# A text for reading: a byte order mark and CR LF, from a UTF-8 text with LF
# (or already CR LF) line ends.
text_for_reading() {
  { printf '\357\273\277'; sed -e '1s/^\xef\xbb\xbf//' -e 's/\r$//' -e 's/$/\r/' "$1"; } > "$2"
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir=$stage/files
mkdir -p "$dir/pro-spravce"
cp "$exe" "$dir/quelt.exe"
cp "$batch" "$dir/quelt-davka.exe"
cp scripts/windows/zkontroluj-soubory.cmd "$dir/zkontroluj-soubory.cmd"
cp "$page" "$dir/quelt-kontrola.html"
node tools/campaign.mjs example "$data" examples/priklad.xml "$dir/priklad.xml"
node tools/campaign.mjs label-file "$data" "$stage/kampan.txt"
text_for_reading "$stage/kampan.txt" "$dir/kampan.txt"
text_for_reading README.md "$dir/pro-spravce/README.md"
"$table" > "$stage/kody.md"
node tools/guide_pages.mjs "$dir" "$data" docs/navod.md "$stage/kody.md"

stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
find "$dir" -exec touch -h -d "@$stamp" {} +

mkdir -p "$out"
rm -f "$out/$name.zip"
# The files at the archive's top, no folder around them: "Extract all" into
# C:\ORV puts quelt.exe at C:\ORV\quelt.exe, as the guide says. -X: no extra
# Unix attributes; the names listed, in this order.
(cd "$dir" && TZ=UTC zip -q -X "$out/$name.zip" \
  quelt-kontrola.html navod.html kody.html quelt.exe quelt-davka.exe zkontroluj-soubory.cmd \
  priklad.xml kampan.txt pro-spravce/README.md)
(cd "$out" && sha256sum "$name.zip" > SHA256SUMS)
echo "$name.zip"
