// What a release says about the registers it carries, read from its data
// folder: the folder's label (kampan.txt), which of the three registers that
// only a campaign can supply are still the samples shipped in data/, and an
// example submission whose register-bound values come from the folder's own
// lists. tools/assemble-web.mjs puts the label on the page; scripts/release.sh uses
// the command line below for the archive.
//
//   node tools/campaign.mjs label      DATA   the label, checked
//   node tools/campaign.mjs ascii      DATA   its short ASCII form, for file names
//   node tools/campaign.mjs samples    DATA   codes of the findings that sample registers make
//                                             unreliable (empty line: none)
//   node tools/campaign.mjs label-file DATA OUT            the label (and note) as a text file
//   node tools/campaign.mjs example    DATA TEMPLATE OUT   the example for these lists
import {spawnSync} from 'node:child_process';
import {mkdtempSync, readFileSync, realpathSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

// The samples the project ships.
export const SAMPLES_DIR = join(dirname(fileURLToPath(import.meta.url)), '..', 'data');

const LABEL_FILE = 'kampan.txt';

// The registers that only a campaign can supply, each with the one finding
// that reads it, its name in the page's Czech and the build's tables of it.
const REGISTERS = [
  {code: 'ER202', name: 'registr předkladatelů', tables: ['TcisPred']},
  {code: 'WR204', name: 'registr poskytovatelů', tables: ['TcisPosPre', 'TcisPrePos']},
  {code: 'EL046', name: 'číselník zaměstnání', tables: ['TcisKzam']},
];

// The longest ASCII form of a label in a file name, in characters.
const ASCII_MAX = 40;

export class CampaignError extends Error {}

// The folder's label: the one line of kampan.txt, in UTF-8 (a leading byte
// order mark and the line end aside). A missing, empty, multi-line or
// non-UTF-8 file is an error that says what the file must hold.
export function readLabel(dir) {
  const path = join(dir, LABEL_FILE);
  const need = 'it must hold one line in UTF-8 naming the campaign and the date of its registers';
  let bytes;
  try {
    bytes = readFileSync(path);
  } catch {
    throw new CampaignError(`The data folder ${dir} has no ${LABEL_FILE}: ${need}.`);
  }
  let text;
  try {
    text = new TextDecoder('utf-8', {fatal: true, ignoreBOM: false}).decode(bytes);
  } catch {
    throw new CampaignError(`${path} is not UTF-8 text: ${need}.`);
  }
  const lines = text.split(/\r?\n/).map((line) => line.trim()).filter((line) => line !== '');
  if (lines.length !== 1) {
    throw new CampaignError(`${path} holds ${lines.length} lines: ${need}.`);
  }
  if (/[\u0000-\u001f\u007f]/.test(lines[0])) {
    throw new CampaignError(`${path} holds a control character: ${need}.`);
  }
  return lines[0];
}

// A label as letters, digits and dashes: accents dropped, every other run of
// characters one dash, at most ASCII_MAX characters, cut after a whole word.
export function asciiForm(label) {
  let s = label.normalize('NFD').replace(/\p{M}/gu, '')
    .replace(/[^A-Za-z0-9]+/g, '-').replace(/^-+|-+$/g, '');
  if (s.length > ASCII_MAX) {
    const cut = s.lastIndexOf('-', ASCII_MAX);
    s = s.slice(0, cut > 0 ? cut : ASCII_MAX);
  }
  if (s === '') throw new CampaignError(`The label "${label}" has no letter or digit for a file name.`);
  return s;
}

// The tables the build makes of a folder's lists, read from the build's own
// generator (cmake/codelists_generate.cmake) run on the folder: the entries
// exactly as the checker will hold them (comments, blank lines, blanks
// between columns and the leading zeros of numbers gone), and a list the
// build would refuse refused here with the build's own message. Each table is
// its entries as texts: a number without leading zeros, a code as written.
const GENERATOR = join(dirname(fileURLToPath(import.meta.url)), '..', 'cmake', 'codelists_generate.cmake');
const generated = new Map();  // folder -> its generated C++ source

// CMake's message without its frame: "CMake Error at ...:", the call stack,
// the lines' wrapping.
const generatorMessage = (stderr) =>
  stderr.replace(/^CMake Error at [^\n]*\n/, '').replace(/\nCall Stack[^]*$/, '').replace(/\s+/g, ' ').trim();

function generatedSource(dir) {
  const key = realpathSync(dir);
  if (!generated.has(key)) {
    const scratch = mkdtempSync(join(tmpdir(), 'quelt-codelists-'));
    const out = join(scratch, 'codelists.cpp');
    try {
      const run = spawnSync('cmake', [`-DDATA_DIR=${key}`, `-DOUTPUT=${out}`, '-P', GENERATOR], {encoding: 'utf8'});
      if (run.error) throw new CampaignError(`cmake, which reads the code lists, did not run: ${run.error.message}`);
      if (run.status !== 0) throw new CampaignError(generatorMessage(run.stderr));
      generated.set(key, readFileSync(out, 'latin1'));
    } finally {
      rmSync(scratch, {recursive: true, force: true});
    }
  }
  return generated.get(key);
}

// One generated array, as the texts of its items.
function tableOf(dir, name) {
  const array = new RegExp(`^const [^\\n]* ${name}\\[\\](?:\\[\\d+\\])? = \\{\\n([^}]*)\\};$`, 'm');
  const found = generatedSource(dir).match(array);
  if (!found) throw new Error(`the code list generator wrote no table ${name}`);
  return found[1].split(',').map((item) => item.trim()).filter((item) => item !== '')
    .map((item) => item.replace(/^"(.*)"$/, '$1').replace(/^(\d+)u$/, '$1'));
}

const sameEntries = (a, b) => a.length === b.length && a.every((entry, i) => entry === b[i]);

// The registers of the folder that hold the same entries as the samples in
// data/: the findings that read them do not hold for real submissions.
export function sampleRegisters(dir) {
  return REGISTERS.filter((r) => r.tables.every((t) => sameEntries(tableOf(dir, t), tableOf(SAMPLES_DIR, t))));
}

// "a", "a a b", "a, b a c".
function czechList(items) {
  return items.length < 2 ? items.join('') : `${items.slice(0, -1).join(', ')} a ${items.at(-1)}`;
}

// The warning for a copy with sample registers, in plain text ('' for none).
export function sampleNote(registers) {
  if (registers.length === 0) return '';
  const names = czechList(registers.map((r) => r.name));
  const codes = czechList(registers.map((r) => r.code));
  const what = registers.length === 1
    ? `${names} je v této kopii jen vzorový, ne údaje kampaně.`
    : `${names} jsou v této kopii jen vzorové, ne údaje kampaně.`;
  const findings = registers.length === 1
    ? `Nález ${codes} proto u skutečných dat neplatí.`
    : `Nálezy ${codes} proto u skutečných dat neplatí.`;
  return `Pozor: ${what} ${findings}`;
}

// The text file of the release beside quelt.exe: the label and, for sample
// registers, the note. A byte order mark, so that every Notepad reads UTF-8.
function labelFileText(dir) {
  const note = sampleNote(sampleRegisters(dir));
  return '\ufeff' + readLabel(dir) + '\n' + (note ? note + '\n' : '');
}

// An identification number of a register as a submission writes it.
function eightDigits(value, file) {
  if (value.length > 8) throw new CampaignError(`${file}: ${value} has more than eight digits`);
  return value.padStart(8, '0');
}

// The values of the example that registers decide: the folder's first
// submitter, its first provider other than itself (itself when it has none),
// and the first, the middle and the last occupation code that does not end in
// 0 (one ending in 0 is a group and earns a warning).
function exampleValues(dir) {
  const submitter = tableOf(dir, 'TcisPred')[0];
  const theirs = tableOf(dir, 'TcisPrePos');
  const own = tableOf(dir, 'TcisPosPre').filter((_, i) => theirs[i] === submitter);
  const provider = own.find((p) => p !== submitter) ?? submitter;
  const codes = tableOf(dir, 'TcisKzam').filter((code) => !code.endsWith('0'));
  if (codes.length === 0) {
    throw new CampaignError(`${join(dir, 'occupations.txt')} has no occupation code that does not end in 0`);
  }
  return {
    submitter: eightDigits(submitter, 'submitters.txt'),
    provider: eightDigits(provider, 'providers.txt'),
    occupations: [codes[0], codes[Math.floor((codes.length - 1) / 2)], codes.at(-1)],
  };
}

// The example template (Windows-1250 bytes) with those values: the
// submitter, every employer and, employee by employee, the occupation codes
// in turn. A template without them is an error, not an unchanged example.
export function exampleFor(dir, template) {
  const v = exampleValues(dir);
  let text = template.toString('latin1');
  const put = (element, value) => {
    const pattern = new RegExp(`(<orv:${element}>)[^<]*(<)`, 'g');
    if (!text.match(pattern)) throw new CampaignError(`the example has no element ${element}`);
    text = text.replace(pattern, (_, open, close) => open + value() + close);
  };
  put('ICOpredkladatele', () => v.submitter);
  put('AA0017', () => v.provider);
  let employee = 0;
  put('AA0013', () => v.occupations[employee++ % v.occupations.length]);
  return Buffer.from(text, 'latin1');
}

function main([command, dir, ...rest]) {
  const usage = 'usage: node tools/campaign.mjs label|ascii|samples DATA | label-file DATA OUT | example DATA TEMPLATE OUT';
  if (!dir) throw new CampaignError(usage);
  switch (command) {
    case 'label': console.log(readLabel(dir)); break;
    case 'ascii': console.log(asciiForm(readLabel(dir))); break;
    case 'samples': console.log(sampleRegisters(dir).map((r) => r.code).join(' ')); break;
    case 'label-file':
      if (rest.length !== 1) throw new CampaignError(usage);
      writeFileSync(rest[0], labelFileText(dir));
      break;
    case 'example':
      if (rest.length !== 2) throw new CampaignError(usage);
      writeFileSync(rest[1], exampleFor(dir, readFileSync(rest[0])));
      break;
    default: throw new CampaignError(usage);
  }
}

if (process.argv[1] && fileURLToPath(import.meta.url) === realpathSync(process.argv[1])) {
  try {
    main(process.argv.slice(2));
  } catch (e) {
    if (!(e instanceof CampaignError) && e.code !== 'ENOENT') throw e;
    console.error(e.message);
    process.exit(1);
  }
}
