// The web page in headless Chromium, served from 127.0.0.1 and opened from
// disk: its results must be the native checker's, byte for byte, and it must
// ask nothing of the network.
//
//   node --test tests/web/page_test.mjs
// Variables: QUELT_WEB_BUILD (default build-web), QUELT_NATIVE (default
// build/quelt), CHROMIUM (default /usr/bin/chromium).
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import {copyFileSync, existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {basename, dirname, extname, join, resolve} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const webBuild = resolve(root, process.env.QUELT_WEB_BUILD || 'build-web');
const native = resolve(root, process.env.QUELT_NATIVE || 'build/quelt');
const work = mkdtempSync(join(tmpdir(), 'quelt-web-'));
const decoder = new TextDecoder('windows-1250');

// ---- Inputs and the native checker's outputs for them ----

function input(name, bytes) {
  const path = join(work, 'in', name);
  writeFileSync(path, bytes);
  return path;
}

function generated(name, args) {
  const path = join(work, 'in', name);
  execFileSync('python3', [join(root, 'bench/gen_orv.py'), ...args, path]);
  return path;
}

// Runs build/quelt in a folder of its own holding the files under their names.
// Returns the outputs' bytes: {report, copy, status}.
function nativeRun(files, {report = 'orve.csv', copy = null, skipW = false} = {}) {
  const dir = mkdtempSync(join(work, 'native-'));
  for (const f of files) copyFileSync(f, join(dir, basename(f)));
  let first = basename(files[0]);
  if (files.length > 1) {
    writeFileSync(join(dir, 'seznam.txt'), files.map((f) => basename(f)).join('\n') + '\n');
    first = '@seznam.txt';
  }
  const args = [first, report, ...(copy ? [copy] : []), ...(skipW ? ['-w'] : [])];
  const run = spawnSync(native, args, {cwd: dir, env: {...process.env, SOURCE_DATE_EPOCH: '1278403200'}});
  return {
    status: run.status,
    report: readFileSync(join(dir, report)),
    copy: copy ? readFileSync(join(dir, copy)) : null,
  };
}

// The report head's date and time are the run's own.
const withoutDate = (bytes) => decoder.decode(bytes).replace(/\d\d\/\d\d\/\d{4} {2}\d\d:\d\d:\d\d/g, 'DATE');

function csvTotals(bytes) {
  const text = decoder.decode(bytes);
  return {e: text.match(/vahy E:;\s*(\d+)/)[1], w: text.match(/vahy W:;\s*(\d+)/)[1]};
}

const csvRows = (bytes) => decoder.decode(bytes).split('\n\n')[0].split('\n').length - 1;

// ---- The browser and the two ways to open the page ----

let browser;
let server;
let files;

function serve(dir) {
  return new Promise((ready) => {
    const types = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm'};
    const s = createServer((req, res) => {
      const path = join(dir, decodeURIComponent(new URL(req.url, 'http://x').pathname));
      if (!path.startsWith(dir) || !existsSync(path) || statSync(path).isDirectory()) {
        res.writeHead(404).end();
        return;
      }
      res.writeHead(200, {'Content-Type': types[extname(path)] || 'application/octet-stream'});
      res.end(readFileSync(path));
    });
    s.listen(0, '127.0.0.1', () => ready(s));
  });
}

before(async () => {
  execFileSync('mkdir', ['-p', join(work, 'in'), join(work, 'downloads')]);
  const example = readFileSync(join(root, 'examples/priklad.xml'));
  files = {
    example: input('priklad.xml', example),
    faulty: generated('chybny.xml', ['--employers', '2', '--records', '40', '--faulty', '0.3', '--seed', '7']),
    // A file of a list without its final line feed: its last line goes on in
    // the next file's first line.
    noFinalFeed: input('bez-konce.xml', example.subarray(0, example.lastIndexOf(10))),
    large: generated('velky.xml', ['--employers', '4', '--records', '3000', '--seed', '8']),
  };
  server = await serve(join(webBuild, 'site'));
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  rmSync(work, {recursive: true, force: true});
});

const variants = {
  served: () => `http://127.0.0.1:${server.address().port}/index.html`,
  'from disk': () => pathToFileURL(join(webBuild, 'quelt-kontrola.html')).href,
};

// A page with every request and every console error it makes recorded.
// withoutSuspending: the page's workers run as in a browser that cannot
// suspend WebAssembly, reading every block when the checker asks for it.
async function open(url, {withoutSuspending = false} = {}) {
  const page = await browser.newPage();
  if (withoutSuspending) {
    await page.evaluateOnNewDocument(() => { delete WebAssembly.Suspending; });
  }
  const record = {requests: [], errors: []};
  page.on('request', (r) => record.requests.push(r.url()));
  page.on('console', (m) => { if (m.type() === 'error') record.errors.push(m.text()); });
  page.on('pageerror', (e) => record.errors.push(e.message));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: join(work, 'downloads')});
  await page.goto(url);
  return {page, record};
}

const state = (page) => page.$eval('#state', (el) => el.dataset.state);

async function check(page, paths, {skipW = false} = {}) {
  if (paths.length > 0) await (await page.$('input#files')).uploadFile(...paths);
  await page.$eval('input#skip-w', (el, on) => { el.checked = on; }, skipW);
  await page.click('button#run');
  await page.waitForFunction(() => !['idle', 'running'].includes(document.querySelector('#state').dataset.state),
    {timeout: 120000});
  return state(page);
}

const pageTotals = (page) => page.$eval('#totals', (el) => ({e: el.dataset.e, w: el.dataset.w}));
const rowCount = (page) => page.$$eval('table#findings tr[data-code]', (rows) => rows.length);

// Downloads one output through its link and returns its bytes.
async function download(page, kind) {
  const name = await page.$eval(`a[data-download="${kind}"]`, (a) => a.getAttribute('download'));
  const path = join(work, 'downloads', name);
  rmSync(path, {force: true});
  await page.click(`a[data-download="${kind}"]`);
  for (let i = 0; i < 600 && !existsSync(path); ++i) await new Promise((r) => setTimeout(r, 100));
  return readFileSync(path);
}

for (const [variant, url] of Object.entries(variants)) {
  describe(`page ${variant}`, () => {
    test('the example, a faulty submission and a list give the native CSV report', async () => {
      const {page, record} = await open(url());
      const cases = [[files.example], [files.faulty], [files.noFinalFeed, files.faulty]];
      for (const paths of cases) {
        assert.equal(await check(page, paths), 'done');
        const want = nativeRun(paths).report;
        const got = await download(page, 'csv');
        assert.deepEqual(got, want, `CSV of ${paths.map((p) => basename(p))}`);
        assert.deepEqual(await pageTotals(page), csvTotals(want));
        assert.equal(await rowCount(page), csvRows(want));
      }
      assert.deepEqual(await pageTotals(page), csvTotals(nativeRun([files.noFinalFeed, files.faulty]).report));
      const own = new URL(url());
      for (const r of record.requests) {
        const u = new URL(r);
        assert.ok(u.protocol === 'blob:' || u.protocol === 'data:' ||
          (u.origin === own.origin && (u.protocol === 'http:' || u.pathname === own.pathname)), `request ${r}`);
      }
      assert.deepEqual(record.errors, []);
      await page.close();
    });
  });
}

describe('page from disk', () => {
  test('-w counts warnings without writing them', async () => {
    const {page} = await open(variants['from disk']());
    assert.equal(await check(page, [files.faulty], {skipW: true}), 'done');
    const want = nativeRun([files.faulty], {skipW: true}).report;
    assert.ok(Number(csvTotals(want).w) > 0);
    assert.deepEqual(await download(page, 'csv'), want);
    assert.deepEqual(await pageTotals(page), csvTotals(want));
    assert.equal(await page.$$eval('tr[data-code^="W"]', (rows) => rows.length), 0);
    await page.close();
  });

  test('a browser that cannot suspend WebAssembly reads the blocks as the checker asks', async () => {
    const {page, record} = await open(variants['from disk'](), {withoutSuspending: true});
    const paths = [files.noFinalFeed, files.faulty];
    assert.equal(await check(page, paths), 'done');
    assert.deepEqual(await download(page, 'csv'), nativeRun(paths).report);
    const gone = input('smazany.xml', readFileSync(files.example));
    await (await page.$('input#files')).uploadFile(gone);
    rmSync(gone);
    assert.equal(await check(page, []), 'failed');
    assert.match(await page.$eval('#failure-text', (el) => el.textContent), /Nelze cist soubor {2}smazany\.xml/);
    assert.deepEqual(record.errors, []);
    await page.close();
  });

  test('the other reports and the copy are the native ones', async () => {
    const {page} = await open(variants['from disk']());
    const paths = [files.noFinalFeed, files.faulty];
    assert.equal(await check(page, paths), 'done');
    for (const kind of ['htm', 'txt', 'xml']) {
      const want = nativeRun(paths, {report: `orve.${kind}`}).report;
      assert.equal(withoutDate(await download(page, kind)), withoutDate(want), kind);
    }
    assert.deepEqual(await download(page, 'copy'), nativeRun(paths, {copy: 'kopie.xml'}).copy);
    await page.close();
  });

  test('a name the checker cannot take is replaced, and the page says so', async () => {
    const {page} = await open(variants['from disk']());
    const spaced = input('muj soubor.xml', readFileSync(files.example));
    assert.equal(await check(page, [spaced, files.faulty]), 'done');
    assert.match(await page.$eval('#substitutes', (el) => el.textContent), /„muj soubor\.xml“ .* vstup1\.xml: jméno obsahuje mezeru/);
    const renamed = join(work, 'native-renamed');
    execFileSync('mkdir', ['-p', renamed]);
    copyFileSync(spaced, join(renamed, 'vstup1.xml'));
    const want = nativeRun([join(renamed, 'vstup1.xml'), files.faulty], {report: 'orve.htm'}).report;
    assert.equal(withoutDate(await download(page, 'htm')), withoutDate(want));
    await page.close();
  });

  test('a finding shows its line of the input', async () => {
    const {page} = await open(variants['from disk']());
    assert.equal(await check(page, [files.faulty]), 'done');
    const row = await page.$('table#findings tr[data-code]');
    const line = Number(await row.$eval('td', (td) => td.textContent));
    await row.click();
    await page.waitForSelector('tr.source table.lines tr.hit');
    const shown = await page.$eval('tr.source tr.hit', (tr) => [tr.cells[0].textContent, tr.cells[1].textContent]);
    const text = decoder.decode(readFileSync(files.faulty)).split('\n')[line - 1].replace(/\r/g, '');
    assert.deepEqual(shown, [String(line), text]);
    await page.close();
  });

  test('a line that runs on into the next file of a list shows both parts', async () => {
    const {page} = await open(variants['from disk']());
    const lines = await page.evaluate(async () => {
      const index = await SourceLines.index([
        {name: 'a.xml', blob: new Blob(['a\r\nb'])},
        {name: 'b.xml', blob: new Blob(['c\nd\n'])},
        {name: 'c.xml', blob: new Blob(['e'])},
      ]);
      return SourceLines.around(index, 2, 2);
    });
    assert.deepEqual(lines.map(({number, parts}) => [number, parts.map((p) => `${p.file}:${p.text}`)]),
      [[1, ['a.xml:a']], [2, ['a.xml:b', 'b.xml:c']], [3, ['b.xml:d']], [4, ['c.xml:e']]]);
    await page.close();
  });

  test('a check can be cancelled', async () => {
    const {page} = await open(variants['from disk']());
    await (await page.$('input#files')).uploadFile(files.large);
    await page.click('button#run');
    await page.waitForFunction(() => document.querySelector('#progress').value > 0);
    await page.click('button#cancel');
    await page.waitForFunction(() => document.querySelector('#state').dataset.state !== 'running');
    assert.equal(await state(page), 'cancelled');
    assert.ok(await page.$eval('#progress', (el) => el.value) < 1);
    await page.close();
  });

  test('a file that can no longer be read fails the run with the checker message', async () => {
    const {page} = await open(variants['from disk']());
    const gone = input('smazany.xml', readFileSync(files.example));
    await (await page.$('input#files')).uploadFile(gone);
    rmSync(gone);
    await page.click('button#run');
    await page.waitForFunction(() => document.querySelector('#state').dataset.state !== 'running');
    assert.equal(await state(page), 'failed');
    assert.match(await page.$eval('#failure-text', (el) => el.textContent), /Nelze cist soubor {2}smazany\.xml\n Program ukoncen/);
    await page.close();
  });
});
