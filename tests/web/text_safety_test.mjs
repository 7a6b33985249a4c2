// The page's text safety (web/text_safety.js) against the shared cases of
// every output (tests/text_safety/cases.json), the kinds the page writes:
// HTML, the fields of its souhrn.csv and relative links. The checker's C++
// module is held to the same cases by its unit test.
//   node --test tests/web/text_safety_test.mjs      (CTest: web.text_safety)
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {test} from 'node:test';
import {fileURLToPath} from 'node:url';
import {pageScript} from '../../tools/page_scripts.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const TextSafety = pageScript('text_safety.js', 'TextSafety');
const {cases} = JSON.parse(readFileSync(join(root, 'tests/text_safety/cases.json'), 'utf8'));

// The page's function of each kind it writes.
const PAGE_KINDS = {html: TextSafety.html, summary_csv: TextSafety.summaryField, link: TextSafety.link};

const mine = cases.filter((c) => c.kind in PAGE_KINDS);
test('the shared cases hold cases of every kind the page writes', () => {
  for (const kind of Object.keys(PAGE_KINDS)) assert.ok(mine.some((c) => c.kind === kind), kind);
});

for (const c of mine) {
  test(`${c.kind}: ${c.what}`, () => assert.equal(PAGE_KINDS[c.kind](c.in), c.out));
}

test('a row of souhrn.csv: its fields as above, separated by ";", ended by a line feed', () => {
  assert.equal(TextSafety.summaryRow(['=1+2.xml', '12345679', '-5', 'a;b']), "'=1+2.xml;12345679;-5;\"a;b\"\n");
});
