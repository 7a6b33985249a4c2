#!/usr/bin/env bash
# Packs the release twice from the same builds (stand-ins for quelt.exe and
# the page, the real catalogue table) and requires the same bytes, and checks
# what a clerk unpacks: the files at the archive's top, the texts for reading
# with a byte order mark and CR LF, the program, the page and the
# Windows-1250 example byte for byte, the checksum, and the rule for W and E
# findings in the same words in the guide and the list of codes.
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
printf '<!doctype html>\n<title>x</title>\r\n\n' > "$work/web/quelt-kontrola.html"

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

[ "$failed" = 0 ] && echo "Packed twice, the same bytes; the archive's contents as a clerk meets them."
exit "$failed"
