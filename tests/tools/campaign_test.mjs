// Tests of tools/campaign.mjs: the label a data folder must carry, its ASCII
// form, the rule that tells sample registers, and the example made from a
// folder's lists.
//   node --test tests/tools/campaign_test.mjs
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {copyFileSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {after, test} from 'node:test';
import {SAMPLES_DIR, asciiForm, exampleFor, readLabel, sampleRegisters} from '../../tools/campaign.mjs';

const EXAMPLE = join(SAMPLES_DIR, '..', 'examples', 'priklad.xml');
const scratch = mkdtempSync(join(tmpdir(), 'quelt-campaign-'));
after(() => rmSync(scratch, {recursive: true, force: true}));

// A folder of the samples' text files, some replaced.
let folders = 0;
function made(files) {
  const dir = join(scratch, String(++folders));
  mkdirSync(dir);
  for (const name of readdirSync(SAMPLES_DIR).filter((f) => f.endsWith('.txt'))) {
    copyFileSync(join(SAMPLES_DIR, name), join(dir, name));
  }
  for (const [name, text] of Object.entries(files)) writeFileSync(join(dir, name), text);
  return dir;
}

test('the label: one line of UTF-8, else a message naming the file', () => {
  assert.equal(readLabel(made({'kampan.txt': '\ufeffORV 2010, 1. pololetí\r\n\r\n'})), 'ORV 2010, 1. pololetí');
  assert.throws(() => readLabel(made({'kampan.txt': 'ORV 2010\nregistry ze dne 1. 7. 2010\n'})),
                /kampan\.txt holds 2 lines/);
  assert.throws(() => readLabel(made({'kampan.txt': Buffer.from([0x70, 0x6f, 0x6c, 0x6f, 0x6c, 0x65, 0x74, 0xed])})),
                /kampan\.txt is not UTF-8/);
  const none = made({});
  rmSync(join(none, 'kampan.txt'));
  assert.throws(() => readLabel(none), /has no kampan\.txt/);
});

test('the ASCII form: accents dropped, dashes, cut after a word', () => {
  assert.equal(asciiForm('ORV 2010, 1. pololetí – registry ze dne 15. 7. 2010'), 'ORV-2010-1-pololeti-registry-ze-dne-15-7');
  assert.equal(asciiForm('Účetní jednotky: řádné'), 'Ucetni-jednotky-radne');
  assert.throws(() => asciiForm('–'), /no letter or digit/);
});

test('sample registers are told by their entries, not by their comments', () => {
  assert.deepEqual(sampleRegisters(SAMPLES_DIR).map((r) => r.code), ['ER202', 'WR204', 'EL046']);
  const submitters = readFileSync(join(SAMPLES_DIR, 'submitters.txt'), 'latin1')
    .replace(/^#.*\n/gm, '# edited\n').replace(/^10000003$/m, '010000003');
  const occupations = readFileSync(join(SAMPLES_DIR, 'occupations.txt'), 'latin1').replace(/^93399$/m, '93398');
  const dir = made({'submitters.txt': submitters, 'occupations.txt': occupations});
  assert.deepEqual(sampleRegisters(dir).map((r) => r.code), ['ER202', 'WR204']);
});

// The release's own question, as scripts/release.sh asks it.
const samplesSaid = (dir) =>
  execFileSync('node', [join(dirname(SAMPLES_DIR), 'tools', 'campaign.mjs'), 'samples', dir], {encoding: 'utf8'}).trim();

// The samples' entries written as a campaign's office might write them: the
// same registers, told as the samples through the path the release takes.
test('sample registers written otherwise: leading zeros, blanks between columns, comments, no final line end', () => {
  const lines = (name) => readFileSync(join(SAMPLES_DIR, name), 'latin1').split('\n')
    .filter((line) => /^[0-9]/.test(line));
  // 0010000003 is 10000003: only the zeros before the first other digit go.
  const submitters = '# our register\r\n\r\n' + lines('submitters.txt').map((n) => `  00${n} `).join('\r\n');
  const providers = lines('providers.txt').map((line) => line.split(' '))
    .map(([p, s], i) => (i % 2 ? `0${p}\t \t${s}` : `${p}   00${s}`)).join('\n') + '\n# end';
  const occupations = '\n# codes\n' + lines('occupations.txt').join('\n\n');
  const dir = made({'submitters.txt': submitters, 'providers.txt': providers, 'occupations.txt': occupations});
  assert.equal(samplesSaid(dir), 'ER202 WR204 EL046');
  const other = lines('providers.txt').join('\n').replace(/^50000004 0+$/m, '50000004 10000003');
  assert.equal(samplesSaid(made({'providers.txt': other})), 'ER202 EL046');
  // A list the build refuses is refused with the build's message.
  assert.throws(() => samplesSaid(made({'occupations.txt': '11210\n1121\n'})), /occupations\.txt: '1121' is not a code/);
});

test('the example takes its register values from the folder', () => {
  const dir = made({
    'submitters.txt': '# campaign\n00231401\n45000123\n',
    'providers.txt': '00231401 00231401\n00300012 00231401\n45000123 45000123\n47000503 45000123\n',
    'occupations.txt': '01105\n11220\n24412\n51311\n92140\n',
  });
  const example = exampleFor(dir, readFileSync(EXAMPLE)).toString('latin1');
  const values = (element) => [...example.matchAll(new RegExp(`<orv:${element}>([^<]*)<`, 'g'))].map((m) => m[1]);
  assert.deepEqual(values('ICOpredkladatele'), ['00231401']);
  assert.deepEqual(values('AA0017'), ['00300012']);
  assert.deepEqual(values('AA0013'), ['01105', '24412', '51311']);
  // Only those values change: the rest stays byte for byte.
  const template = readFileSync(EXAMPLE, 'latin1');
  const strip = (text) => text.replace(/<orv:(ICOpredkladatele|AA0017|AA0013)>[^<]*</g, '');
  assert.equal(strip(example), strip(template));
});
