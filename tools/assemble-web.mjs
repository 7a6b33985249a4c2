// Assembles the web edition from the page's own files in web/ and the two
// builds of the worker's module that Emscripten made (quelt_web.js and .wasm
// for browsers that can suspend WebAssembly, quelt_web_asyncify.js and .wasm
// for the others):
//   <build>/site/                   the page and its files, for a web server
//   <build>/quelt-kontrola.html     the same page as one file, to open from disk
// Both carry the engine inside, so neither asks for anything once loaded, and
// a Content-Security-Policy that allows no connection at all: the served page
// loads only its own scripts and style, the single file nothing (its scripts
// and style are allowed by their hashes). Under its title the page shows the
// label of the data folder the build took its lists from, and a note when
// registers in it are the samples (tools/campaign.mjs), and the release's
// version (tools/version.mjs) beside the link to the guide, navod.html, which
// the release puts beside the page. The texts the page says in the checker's
// own words without a run (verdicts, the explanations of findings) come from
// the web build's quelt_page_texts (tools/page_texts.cpp), run here under
// Node, as data inside the page.
//
//   node tools/assemble-web.mjs <build-folder> [<data-folder>]
// The data folder is the argument, else the variable QUELT_DATA_DIR, else data/.
import {execFileSync} from 'node:child_process';
import {createHash} from 'node:crypto';
import {mkdirSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';
import {CampaignError, SAMPLES_DIR, readLabel, sampleNote, sampleRegisters} from './campaign.mjs';
import {fillTemplate, pageScript} from './page_scripts.mjs';
import {releaseVersion} from './version.mjs';

const web = join(dirname(fileURLToPath(import.meta.url)), '..', 'web');
const build = process.argv[2];
const data = process.argv[3] ?? (process.env.QUELT_DATA_DIR || SAMPLES_DIR);
if (!build) {
  console.error('usage: node tools/assemble-web.mjs <build-folder> [<data-folder>]');
  process.exit(2);
}

// The page's scripts, in the order they run.
const SCRIPTS = ['text_safety.js', 'names.js', 'explain.js', 'findings.js', 'source.js', 'engine.js', 'batch.js',
  'app.js'];

const read = (name) => readFileSync(join(web, name), 'utf8');
const page = read('index.html');
const style = read('style.css');

// The address of the page's icon: none, so that the browser asks no server.
const ICON = '<link rel="icon" href="data:,">';

function policy(sources) {
  return [
    "default-src 'none'",
    `script-src ${sources.script} 'wasm-unsafe-eval'`,
    `style-src ${sources.style}`,
    'worker-src blob:',
    'frame-src blob:',
    'img-src data:',
    "base-uri 'none'",
    "form-action 'none'",
  ].join('; ');
}

const fill = (template, values) => fillTemplate(template, values, 'index.html');
const {html: escapeHtml} = pageScript('text_safety.js', 'TextSafety');

// The registers this copy carries: the label, and the note for samples.
function campaignBlock() {
  let label, samples;
  try {
    label = readLabel(data);
    samples = sampleRegisters(data);
  } catch (e) {
    if (!(e instanceof CampaignError) && e.code !== 'ENOENT') throw e;
    console.error(e.message);
    process.exit(1);
  }
  const note = sampleNote(samples);
  return `<p id="campaign" class="campaign" data-samples="${samples.map((r) => r.code).join(' ')}">` +
    `Registry a číselníky: <strong>${escapeHtml(label)}</strong></p>` +
    (note ? `\n  <p id="campaign-note" class="campaign-note">${escapeHtml(note)}</p>` : '');
}
const CAMPAIGN = campaignBlock();
const VERSION = escapeHtml(releaseVersion().text);

// The page's texts from the C++ sources, as a block of data: JSON that no
// '<' can end early.
function textsBlock() {
  const json = execFileSync(process.execPath, [join(build, 'tools', 'quelt_page_texts.js')], {encoding: 'utf8'});
  const texts = JSON.stringify(JSON.parse(json)).replace(/</g, '\\u003c');
  return `<script type="application/json" id="page-texts">${texts}</script>`;
}
const TEXTS = textsBlock();

const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

// A build of the engine inside the page, in blocks that are data, not
// scripts: the worker's code (the Emscripten loader, then the worker's own
// script) and the WebAssembly.
function engineBlocks(module, id) {
  const code = readFileSync(join(build, `${module}.js`), 'utf8') + '\n' + read('worker.js');
  const wasm = readFileSync(join(build, `${module}.wasm`));
  const block = (kind, bytes) =>
    `<script type="application/octet-stream" id="${id}-${kind}">${bytes.toString('base64')}</script>`;
  return block('code', Buffer.from(code)) + '\n' + block('wasm', wasm);
}

const ENGINE = engineBlocks('quelt_web', 'quelt-engine') + '\n' +
  engineBlocks('quelt_web_asyncify', 'quelt-engine-asyncify');

// The page for a web server: its scripts and style as files of its own.
// The links to the guide and to the list of codes (a finding's code leads to
// its row, kody.html#CODE): the release puts navod.html and kody.html beside
// the single file, while a web server's site has neither, and a link there
// would lead nowhere. The page explains every finding itself either way.
const GUIDE = ' · <a id="guide-link" href="navod.html">Návod k použití</a>';
const CODES = 'kody.html';

function writeSite() {
  const site = join(build, 'site');
  rmSync(site, {recursive: true, force: true});
  mkdirSync(site, {recursive: true});
  for (const name of SCRIPTS) writeFileSync(join(site, name), read(name));
  writeFileSync(join(site, 'style.css'), style);
  writeFileSync(join(site, 'index.html'), fill(page, {
    '@CSP@': policy({script: "'self'", style: "'self'"}),
    '@CAMPAIGN@': CAMPAIGN,
    '@VERSION@': VERSION,
    '@GUIDE@': '',
    '@CODES@': '',
    '@STYLE@': `${ICON}\n<link rel="stylesheet" href="style.css">`,
    '@SCRIPTS@': `${ENGINE}\n${TEXTS}\n` + SCRIPTS.map((name) => `<script src="${name}"></script>`).join('\n'),
  }));
}

// The page as one file: scripts and style inline too.
function writeSingleFile() {
  const script = SCRIPTS.map(read).join('\n');
  writeFileSync(join(build, 'quelt-kontrola.html'), fill(page, {
    '@CSP@': policy({script: hash(script), style: hash(style)}),
    '@CAMPAIGN@': CAMPAIGN,
    '@VERSION@': VERSION,
    '@GUIDE@': GUIDE,
    '@CODES@': CODES,
    '@STYLE@': `${ICON}\n<style>${style}</style>`,
    '@SCRIPTS@': `${ENGINE}\n${TEXTS}\n<script>${script}</script>`,
  }));
}

writeSite();
writeSingleFile();
