// The page's rules for file names (web/names.js), in Node without a browser:
// which chosen names the checker gets as they are, as which Windows-1250
// bytes, which get a substitute and why, and the command line of a run.
//   node --test tests/web/names_test.mjs      (CTest: web.names)
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {pageScript} from '../../tools/page_scripts.mjs';

const RunNames = pageScript('names.js', 'RunNames');
// Its objects as this realm's, for deepEqual.
const plain = (value) => JSON.parse(JSON.stringify(value));

// The reasons as the page words them.
const BYTE = 'jméno obsahuje znak, který kódování Windows-1250 neumí zapsat';
const LONG = 'jméno je delší než 60 znaků';
const SPACE = 'jméno obsahuje mezeru';
const TWICE = 'stejné jméno má jiný soubor této kontroly';
const SWITCH = 'program by jméno začínající znakem „-“ nebo „@“ četl jako přepínač nebo seznam';
const END = 'jméno „...“ by seznam souborů ukončilo';

// A name in Windows-1250 as names.js writes it: one character a byte.
const cp1250 = (...bytes) => String.fromCharCode(...bytes);
const x = (n, c = 'x') => c.repeat(n);

// Each row: the chosen names, in the order of the check, and for each the
// name the checker gets (its bytes, one character a byte) and the reason
// for a substitute (null: its own name).
const CASES = [
  ['a plain name', ['priklad.xml'], [['priklad.xml', null]]],
  ['Czech letters become their Windows-1250 bytes', ['mzdy-červen.xml'],
    [[`mzdy-${cp1250(0xE8)}erven.xml`, null]]],
  ['a decomposed name is composed first (c and a combining caron is č)', ['c\u030Cerven.xml'],
    [[`${cp1250(0xE8)}erven.xml`, null]]],
  ['the euro sign, Š and a no-break space are Windows-1250 characters', ['€Š\u00A0.xml'],
    [[cp1250(0x80, 0x8A, 0xA0, 0x2E, 0x78, 0x6D, 0x6C), null]]],
  ['Cyrillic has no Windows-1250 bytes', ['зарплата.xml'], [['vstup1.xml', BYTE]]],
  ['nor has à, which Windows-1252 would write', ['à.xml'], [['vstup1.xml', BYTE]]],
  ['60 bytes are allowed', [x(56) + '.xml'], [[x(56) + '.xml', null]]],
  ['61 bytes are not', [x(57) + '.xml'], [['vstup1.xml', LONG]]],
  ['the limit counts Windows-1250 bytes: 56 letters č and .xml, 116 bytes in UTF-8', [x(56, 'č') + '.xml'],
    [[x(56, cp1250(0xE8)) + '.xml', null]]],
  ['a decomposed name is measured composed', [x(56, 'c\u030C') + '.xml'],
    [[x(56, cp1250(0xE8)) + '.xml', null]]],
  ['a space splits a name in a list', ['muj soubor.xml'], [['vstup1.xml', SPACE]]],
  ['so do a tab and a line feed', ['a\tb.xml', 'c\nd.xml'], [['vstup1.xml', SPACE], ['vstup2.xml', SPACE]]],
  ['a single name starting with - would be a switch', ['-w.xml'], [['vstup1.xml', SWITCH]]],
  ['a single name starting with @ would be a list', ['@seznam.xml'], [['vstup1.xml', SWITCH]]],
  ['in a list, - and @ are names like any other', ['-a.xml', '@b.xml'], [['-a.xml', null], ['@b.xml', null]]],
  ['a - inside a name is nothing special', ['mzdy-2010.xml'], [['mzdy-2010.xml', null]]],
  ['... alone is a name', ['...'], [['...', null]]],
  ['... in a list would end it', ['a.xml', '...'], [['a.xml', null], ['vstup2.xml', END]]],
  ['a name chosen twice: the second gets a substitute', ['a.xml', 'a.xml'], [['a.xml', null], ['vstup2.xml', TWICE]]],
  ['twice after composing', ['červen.xml', 'c\u030Cerven.xml'],
    [[`${cp1250(0xE8)}erven.xml`, null], ['vstup2.xml', TWICE]]],
  ['a substitute never takes a chosen name', ['a b.xml', 'vstup1.xml'],
    [['vstup1-2.xml', SPACE], ['vstup1.xml', null]]],
];

for (const [what, names, want] of CASES) {
  test(what, () => {
    const entries = RunNames.assign(names.map((name) => ({name})));
    assert.deepEqual(plain(entries.map((e) => [e.bytes, e.reason])), want);
    // The page shows a kept name as chosen, a substitute as the checker gets it.
    entries.forEach((e, i) => assert.equal(e.name, e.reason === null ? names[i] : e.bytes));
  });
}

test('the command line: one file by its name, several through a list file, the outputs in their folder', () => {
  const one = RunNames.assign([{name: 'mzdy-červen.xml'}]);
  assert.deepEqual(plain(RunNames.commandLine(one, 'orve.csv', null, false)),
    {args: [`mzdy-${cp1250(0xE8)}erven.xml`, '/vysledky/orve.csv'], list: null, folder: '/vysledky'});
  const two = RunNames.assign([{name: 'a.xml'}, {name: 'b c.xml'}]);
  assert.deepEqual(plain(RunNames.commandLine(two, 'orve.htm', 'kopie.xml', true)), {
    args: ['@/vysledky/seznam', '/vysledky/orve.htm', '/vysledky/kopie.xml', '-w'],
    list: {path: '/vysledky/seznam', text: 'a.xml\nvstup2.xml\n'},
    folder: '/vysledky',
  });
});

// The downloads of a check are named after the checked file, the first of a
// list, and never take the name of a file of the check.
const NAMED = [
  ['a name with an extension', ['mzdy-cerven.xml'], 'mzdy-cerven-kontrola', 'mzdy-cerven-kopie'],
  ['the last dot ends the base', ['mzdy.2010.cerven.xml'], 'mzdy.2010.cerven-kontrola', 'mzdy.2010.cerven-kopie'],
  ['no extension', ['data'], 'data-kontrola', 'data-kopie'],
  ['a leading dot is no extension', ['.xml'], '.xml-kontrola', '.xml-kopie'],
  ['Czech letters stay', ['mzdy-červen.xml'], 'mzdy-červen-kontrola', 'mzdy-červen-kopie'],
  ['the parts of one submission: after the first part', ['cast1.xml', 'cast2.xml'], 'cast1-kontrola', 'cast1-kopie'],
  ['a part named as a download: the suffix is numbered', ['a.xml', 'A-KONTROLA.XML'], 'a-kontrola-2', 'a-kopie-2'],
  ['a part named as the copy too', ['a.xml', 'a-kopie.xml'], 'a-kontrola-2', 'a-kopie-2'],
];

for (const [what, names, report, copy] of NAMED) {
  test(`download names: ${what}`, () => {
    const got = plain(RunNames.downloadNames(names.map((name) => ({name}))));
    assert.deepEqual(got, {copy: `${copy}.xml`, htm: `${report}.htm`, txt: `${report}.txt`,
      csv: `${report}.csv`, xml: `${report}.xml`});
    for (const name of Object.values(got)) assert.ok(!names.some((n) => n.toLowerCase() === name.toLowerCase()));
  });
}
