#!/usr/bin/env bash
# Packs the release twice from the same builds (stand-ins for quelt.exe and
# the page, the real catalogue table) and requires the same bytes, and checks
# what a clerk unpacks: the files at the archive's top, the texts for reading
# with a byte order mark and CR LF, the program, the page and the
# Windows-1250 example byte for byte, the checksum, and the rule for W and E
# findings in the same words in the guide and the list of codes. Then, in a
# scratch repository holding the checkout's files (never the checkout
# itself), a page built before a tag, or with another QUELT_VERSION, is
# refused with the command to run, and the page of the tag's version packs.
#
#   tests/tools/pack_release_test.sh CATALOGUE_TABLE
# Exit 77 (skipped) where zip, unzip, cmark-gfm or node is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
table=$1
for tool in zip unzip cmark-gfm node; do
  command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/win" "$work/web"
# Stand-ins whose bytes a text conversion would change: LF, CR LF, 0x1A.
printf 'MZ\n\r\n\032\000stand-in\n' > "$work/win/quelt.exe"
printf 'MZ\n\r\n\032\000batch stand-in\n' > "$work/win/quelt-davka.exe"
# A page as tools/assemble-web.mjs writes its version, for version $1.
stand_in_page() {
  printf '<!doctype html>\n<title>x</title>\r\n<p class="version">Verze: %s · <a href="navod.html">N</a></p>\n' "$1"
}
stand_in_page "$(node tools/version.mjs text)" > "$work/web/quelt-kontrola.html"

name=$(scripts/pack-release.sh "$work/one" "$work/win" "$work/web" "$table")
# The builds' files touched between the two packings: their times must not matter.
sleep 1
touch "$work/win/quelt.exe" "$work/web/quelt-kontrola.html"
again=$(scripts/pack-release.sh "$work/two" "$work/win" "$work/web" "$table")

failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

[ "$name" = "$again" ] || fail "two names: $name, $again"
cmp "$work/one/$name" "$work/two/$name" || fail "the two archives differ"
cmp "$work/one/SHA256SUMS" "$work/two/SHA256SUMS" || fail "the two SHA256SUMS differ"
(cd "$work/one" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match the archive"

mkdir "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$work/one/$name")
u=$work/unpacked
listed=$(cd "$u" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
[ "$listed" = "kampan.txt kody.html navod.html priklad.xml pro-spravce/README.md quelt-davka.exe quelt-kontrola.html quelt.exe zkontroluj-soubory.cmd " ] ||
  fail "the archive holds: $listed"

cmp "$u/quelt.exe" "$work/win/quelt.exe" || fail "quelt.exe changed in packing"
cmp "$u/quelt-davka.exe" "$work/win/quelt-davka.exe" || fail "quelt-davka.exe changed in packing"
cmp "$u/zkontroluj-soubory.cmd" scripts/windows/zkontroluj-soubory.cmd || fail "zkontroluj-soubory.cmd changed in packing"
cmp "$u/quelt-kontrola.html" "$work/web/quelt-kontrola.html" || fail "the page changed in packing"
node tools/campaign.mjs example data examples/priklad.xml "$work/priklad.xml"
cmp "$u/priklad.xml" "$work/priklad.xml" || fail "priklad.xml is not the example's Windows-1250 bytes"

for text in kampan.txt pro-spravce/README.md; do
  [ "$(head -c 3 "$u/$text" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$text has no byte order mark"
  [ "$(tr -cd '\n' <"$u/$text" | wc -c)" = "$(grep -c $'\r$' "$u/$text")" ] || fail "$text has a line end without CR"
  ! grep -q $'\r\r' "$u/$text" || fail "$text has a doubled CR"
done
[ "$(sed -n 2p "$u/kampan.txt")" != "" ] || fail "kampan.txt of the samples lacks its note"

# The guide and the codes: no script, the links between them, the rule in
# the same words.
node - "$u" <<'JS' || failed=1
const {readFileSync} = require('node:fs');
const dir = process.argv[2];
const read = (name) => readFileSync(`${dir}/${name}`, 'utf8');
const text = (html) => html.replace(/<[^>]*>/g, ' ').replace(/&quot;/g, '"').replace(/\s+/g, ' ');
let ok = true;
const fail = (what) => { console.error(`FAILED: ${what}`); ok = false; };
for (const name of ['navod.html', 'kody.html']) {
  const html = read(name);
  if (/<script/i.test(html)) fail(`${name} holds a script`);
  if (!html.includes('<html lang="cs">')) fail(`${name} is not marked Czech`);
  if (!/Content-Security-Policy" content="default-src 'none';/.test(html)) fail(`${name} lacks its policy`);
  for (const link of ['quelt-kontrola.html', 'navod.html', 'kody.html'])
    if (!html.includes(`href="${link}"`)) fail(`${name} has no link to ${link}`);
  if (/href="[^"]*\.md"/.test(html)) fail(`${name} links to a Markdown file`);
}
const rule = text(read('kody.html')).match(/Soubor, ve kterém kontrola našla jen varování .*? znovu ho zkontrolujte\./);
if (!rule) fail('kody.html does not state the rule for W and E findings');
else if (!text(read('navod.html')).includes(rule[0])) fail(`navod.html does not say in the same words: ${rule[0]}`);
process.exit(ok ? 0 : 1);
JS

# ---- The page's version against the archive's, after a tag ----

scratch=$work/repository
mkdir "$scratch"
git ls-files -z | xargs -0 cp --parents -t "$scratch"
git_scratch() { git -C "$scratch" -c user.name=test -c user.email=test@localhost -c commit.gpgsign=false "$@"; }
git_scratch init -q
git_scratch add -A
git_scratch commit -qm 'the checkout as it is'
untagged=$(cd "$scratch" && node tools/version.mjs text)
git_scratch tag v2010.1

# A page showing $1 packed with QUELT_VERSION $2 (empty: the tag's): must
# pack as the archive of version $3, or with $3 refused:TEXT be refused,
# saying TEXT and what to run.
pack_scratch() {
  local shown=$1 given=$2 expect=$3 out=$work/scratch-out status=0
  rm -rf "$out" "$work/scratch-web"
  mkdir "$work/scratch-web"
  stand_in_page "$shown" > "$work/scratch-web/quelt-kontrola.html"
  (cd "$scratch" && QUELT_VERSION=$given scripts/pack-release.sh "$out" "$work/win" "$work/scratch-web" "$table") \
    > "$work/said" 2>&1 || status=$?
  case $expect in
    refused:*)
      [ "$status" = 1 ] || fail "a page showing \"$shown\" (QUELT_VERSION '$given') was not refused: $(cat "$work/said")"
      ! ls "$out"/*.zip >/dev/null 2>&1 || fail "a refused page left an archive: $(ls "$out")"
      grep -qF -- "${expect#refused:}" "$work/said" || fail "the refusal of \"$shown\" does not say ${expect#refused:}: $(cat "$work/said")"
      grep -q 'scripts/build-web.sh' "$work/said" || fail "the refusal of \"$shown\" says nothing to run: $(cat "$work/said")" ;;
    *)
      [ "$status" = 0 ] || fail "a page showing \"$shown\" was refused: $(cat "$work/said")"
      grep -qx -- "quelt-windows-x64-$expect-.*\.zip" "$work/said" || fail "packed as $(cat "$work/said"), not as version $expect" ;;
  esac
}

# shown by the page | QUELT_VERSION | the archive's version, or refused: what the refusal says
while IFS='|' read -r shown given expect; do
  pack_scratch "$shown" "$given" "$expect"
done <<TABLE
$untagged||refused:"v2010.1"
$untagged||refused:"$untagged"
v2010.1||v2010.1
v2010.1|2010.2|refused:QUELT_VERSION=2010.2
2010.1 R&#38;D|2010.1 R&D|2010.1-R-D
TABLE
# A page without a version line.
rm -rf "$work/scratch-out"
printf '<!doctype html>\n<title>x</title>\n' > "$work/scratch-web/quelt-kontrola.html"
if (cd "$scratch" && scripts/pack-release.sh "$work/scratch-out" "$work/win" "$work/scratch-web" "$table") > "$work/said" 2>&1 ||
   ! grep -q 'shows no version' "$work/said"; then
  fail "a page without a version was not refused as such: $(cat "$work/said")"
fi

[ "$failed" = 0 ] && echo "Packed twice, the same bytes; the archive's contents as a clerk meets them; the page's version after a tag."
exit "$failed"
