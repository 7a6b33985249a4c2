// The verdicts and the explanations of findings as the guide and the list of
// codes say them: in the words of the C++ sources, which quelt_page_texts
// prints (tools/page_texts.cpp) and the page shows. The guide (docs/navod.md)
// is written by hand, so this is what keeps it from drifting; the list of
// codes (quelt_catalogue_table) is made from the sources, and here its pages
// are checked as a clerk opens them: an anchor for every code, every link
// inside it resolving.
//   QUELT_PAGE_TEXTS=... QUELT_CATALOGUE_TABLE=... node --test tests/tools/guide_texts_test.mjs
// (CTest: tools.guide_texts; the pages need Debian's cmark-gfm, else skipped)
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {after, test} from 'node:test';
import {fileURLToPath} from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const texts = JSON.parse(execFileSync(process.env.QUELT_PAGE_TEXTS, {encoding: 'utf8'}));
const kody = execFileSync(process.env.QUELT_CATALOGUE_TABLE, {encoding: 'utf8'});
const navod = readFileSync(join(root, 'docs/navod.md'), 'utf8');
const work = mkdtempSync(join(tmpdir(), 'quelt-guide-'));
after(() => rmSync(work, {recursive: true, force: true}));

// Markdown as the words a reader sees: no emphasis, no escapes, no line
// breaks inside a paragraph, blanks collapsed.
const words = (markdown) => markdown.replace(/\*\*/g, '').replace(/\\(.)/g, '$1').replace(/\s+/g, ' ');
const sources = {'docs/navod.md': words(navod), 'kody.md': words(kody)};

// Every text a clerk reads of the verdicts, each of which both must say.
const VERDICT_TEXTS = [
  ...Object.entries(texts.verdicts).flatMap(([key, v]) => [[`${key}: headline`, v.headline], [`${key}: advice`, v.advice]]),
  ['the note on sample registers', texts.samplesNote],
];

for (const [source, said] of Object.entries(sources)) {
  for (const [what, text] of VERDICT_TEXTS) {
    test(`${source} says the verdict's words: ${what}`, () =>
      assert.ok(said.includes(words(text)), `${source} lacks: ${text}`));
  }
  test(`${source} names every verdict by its word`, () => {
    for (const {word} of Object.values(texts.verdicts)) assert.ok(said.includes(`${word}:`), word);
  });
}

// The rows of the list of codes' table: code, weight, expected, description.
const codeRows = kody.split('\n').filter((l) => /^\| [EW][A-Z0-9]{4} \| [EW] \(/.test(l)).map((l) => l.split(' | ')[0].slice(2));

test('the list of codes: what to do for each kind of rule, for codes of the catalogue, each code once', () => {
  const advised = Object.keys(texts.codeAdvice);
  assert.deepEqual(advised.filter((code) => !codeRows.includes(code)), []);
  assert.equal(new Set(advised).size, advised.length);
  for (const [code, kind] of Object.entries(texts.codeAdvice)) {
    assert.ok(texts.adviceKinds[kind].length > 20, `${code}: ${kind}`);
    assert.ok(words(kody).includes(words(texts.adviceKinds[kind])), `kody.md lacks the advice for ${code}`);
  }
  for (const weight of ['E', 'W'])
    assert.ok(words(kody).includes(`${texts.weightAdvice[weight].what} ${texts.weightAdvice[weight].fix}`), weight);
});

test('every item is named: by its meaning, or by its number and part of the file; the list of codes names them alike', () => {
  const items = Object.entries(texts.items);
  assert.equal(items.length, 8 + 11 + 58);
  for (const [element, label] of items) {
    assert.match(label, new RegExp(`^(položka ${element} v |.+ \\(${element}, v )`), element);
    assert.ok(kody.includes(`| ${element} | ${label} |`), `kody.md: ${element}`);
  }
  const named = items.filter(([, label]) => !label.startsWith('položka ')).map(([e]) => e);
  // What the format says of the items a clerk meets most.
  for (const element of ['ICOpredkladatele', 'AA0017', 'AA0231', 'AA0013', 'AA0144']) assert.ok(named.includes(element), element);
  for (const element of ['AA0125', 'AA0133', 'AA0141', 'AA0166']) assert.ok(!named.includes(element), element);
});

// kody.html and navod.html, made as the release makes them.
const pages = (() => {
  if (spawnSync('cmark-gfm', ['--version']).error) return null;
  writeFileSync(join(work, 'kody.md'), kody);
  execFileSync(process.execPath, [join(root, 'tools/guide_pages.mjs'), work, join(root, 'data'), join(root, 'docs/navod.md'),
    join(work, 'kody.md')]);
  return {kody: readFileSync(join(work, 'kody.html'), 'utf8'), navod: readFileSync(join(work, 'navod.html'), 'utf8')};
})();

test('kody.html: every code of the catalogue is an anchor, and every link inside the page resolves', {skip: pages === null && 'no cmark-gfm'}, () => {
  const ids = new Set([...pages.kody.matchAll(/ id="([^"]+)"/g)].map((m) => m[1]));
  assert.equal(codeRows.length > 150, true, `${codeRows.length} codes`);
  assert.deepEqual(codeRows.filter((code) => !ids.has(code)), []);
  const inside = [...pages.kody.matchAll(/href="#([^"]+)"/g)].map((m) => m[1]);
  assert.ok(inside.length >= Object.keys(texts.codeAdvice).length);
  assert.deepEqual(inside.filter((id) => !ids.has(id)), []);
});

test('navod.html says the verdicts as kody.html does', {skip: pages === null && 'no cmark-gfm'}, () => {
  const text = (html) => html.replace(/<[^>]*>/g, ' ').replace(/&quot;/g, '"').replace(/\s+/g, ' ');
  for (const [what, said] of VERDICT_TEXTS) {
    assert.ok(text(pages.navod).includes(said), `navod.html: ${what}`);
    assert.ok(text(pages.kody).includes(said), `kody.html: ${what}`);
  }
});
