// The web page in Chromium, Firefox and WebKit, served from 127.0.0.1 and
// opened from disk: its results must be the native checker's, its downloads
// byte for byte and its findings table row for row, its verdicts and
// explanations the checker's own words (the web build's quelt_page_texts
// prints them), it must ask nothing of the network, and it is held to
// axe-core's WCAG 2.1 A and AA rules. Every case runs in every engine,
// through one driver layer (browsers.mjs), from disk, and the cases that the
// way of opening changes served as well.
//
//   node --test tests/web/page_test.mjs      (WebKit: under xvfb-run -a -s '-screen 0 1280x1024x24 -noreset')
//   QUELT_BROWSERS=firefox node --test tests/web/page_test.mjs
// Variables: QUELT_BROWSERS (engines, default chromium,firefox,webkit),
// QUELT_WEB_BUILD (default build-web), QUELT_NATIVE (default build/quelt),
// QUELT_NATIVE_BATCH (default build/quelt-davka), and the programs
// browsers.mjs names.
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import {copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {basename, dirname, join, resolve} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {chosenEngines, launch, serveFolders} from './browsers.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const webBuild = resolve(root, process.env.QUELT_WEB_BUILD || 'build-web');
const native = resolve(root, process.env.QUELT_NATIVE || 'build/quelt');
const nativeBatch = resolve(root, process.env.QUELT_NATIVE_BATCH || 'build/quelt-davka');
const work = mkdtempSync(join(tmpdir(), 'quelt-web-'));
const decoder = new TextDecoder('windows-1250');
const engines = chosenEngines();
// The texts the page says in the checker's words, from the C++ sources.
const texts = JSON.parse(execFileSync(process.execPath, [join(webBuild, 'tools/quelt_page_texts.js')], {encoding: 'utf8'}));


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

// Runs build/quelt on one file under a name given as its Windows-1250 bytes,
// as quelt.exe gets it on a Czech Windows. Returns the report's bytes.
function nativeRunNamed(file, nameBytes, report) {
  const dir = mkdtempSync(join(work, 'native-'));
  const name = Buffer.concat([Buffer.from(dir + '/'), nameBytes]);
  copyFileSync(file, name);
  // The shell passes the name's bytes through as they are.
  const run = spawnSync('sh', ['-c', 'exec "$0" "$(printf "%b" "$1")" "$2"', native,
    [...nameBytes].map((b) => `\\0${b.toString(8)}`).join(''), report],
  {cwd: dir, env: {...process.env, SOURCE_DATE_EPOCH: '1278403200'}});
  assert.equal(run.status, 0, run.stdout.toString('latin1'));
  return readFileSync(join(dir, report));
}

// Runs build/quelt-davka on files; returns, a file a row, the values of the
// columns of its souhrn.csv that the page's summary shares (by their names,
// whichever columns the native summary has).
const SHARED_COLUMNS = ['IČO předkladatele', 'IČO zaměstnavatelů', 'Záznamů zaměstnanců', 'Chyb E', 'Chyb W', 'Výsledek',
  'Stav', 'Zpráva'];

function nativeBatchSummary(paths) {
  const dir = mkdtempSync(join(work, 'batch-'));
  spawnSync(nativeBatch, ['-o', dir, ...paths], {env: {...process.env, SOURCE_DATE_EPOCH: '1278403200'}});
  const [heading, ...rows] = decoder.decode(readFileSync(join(dir, 'souhrn.csv'))).split('\n')
    .filter((l) => l !== '').map(csvFields);
  const shared = SHARED_COLUMNS.filter((name) => heading.includes(name));
  return rows.map((row) => Object.fromEntries(shared.map((name) => [name, row[heading.indexOf(name)]])));
}

// The report head's date and time are the run's own.
const withoutDate = (bytes) => decoder.decode(bytes).replace(/\d\d\/\d\d\/\d{4} {2}\d\d:\d\d:\d\d/g, 'DATE');

// One line of a CSV report: fields separated by ';', a field holding ';' or
// '"' quoted with each '"' doubled. Written apart from the page's own reader
// (web/findings.js) on purpose: the page is not judged by its own code.
function csvFields(line) {
  const fields = [];
  let i = 0;
  for (;;) {
    let field = '';
    if (line[i] === '"') {
      for (++i; i < line.length; ++i) {
        if (line[i] === '"' && line[++i] !== '"') break;
        field += line[i];
      }
    } else {
      const end = line.indexOf(';', i);
      field = line.slice(i, end < 0 ? line.length : end);
      i = end < 0 ? line.length : end;
    }
    fields.push(field);
    if (i >= line.length) return fields;
    ++i;
  }
}

// The findings and totals of a native CSV report, as the page must show them.
function csvFindings(bytes) {
  const text = decoder.decode(bytes);
  return {
    e: text.match(/vahy E:;\s*(\d+)/)[1],
    w: text.match(/vahy W:;\s*(\d+)/)[1],
    rows: text.split('\n\n')[0].split('\n').slice(1).map(csvFields),
  };
}

// ---- The page ----

let server;
let files;

before(async () => {
  mkdirSync(join(work, 'in'));
  const example = readFileSync(join(root, 'examples/priklad.xml'));
  files = {
    example: input('priklad.xml', example),
    // Only a warning: a telephone number that starts with a bracket.
    warningsOnly: input('varovani.xml', Buffer.from(example.toString('latin1').replace('+420 123', '(420) 123'), 'latin1')),
    // The faults of the example a clerk meets first: an employer's IČO with
    // a wrong check digit (and so not in the provider register) and a year
    // of birth of 1870.
    misspelt: input('mzdy-cerven.xml', Buffer.from(example.toString('latin1')
      .replace('<orv:AA0017>30000009<', '<orv:AA0017>30000008<').replace(/<orv:AA0231>\d+</g, '<orv:AA0231>1870<'), 'latin1')),
    faulty: generated('chybny.xml', ['--employers', '2', '--records', '40', '--faulty', '0.3', '--seed', '7']),
    // A file of a list without its final line feed: its last line goes on in
    // the next file's first line.
    noFinalFeed: input('bez-konce.xml', example.subarray(0, example.lastIndexOf(10))),
    large: generated('velky.xml', ['--employers', '4', '--records', '3000', '--seed', '8']),
    // More findings than the table shows at first (2000).
    many: generated('mnoho.xml', ['--employers', '2', '--records', '1200', '--faulty', '1.0', '--seed', '11']),
  };
  server = await serveFolders(join(webBuild, 'site'));
});

after(() => {
  if (server) server.close();
  rmSync(work, {recursive: true, force: true});
});

const variants = {
  served: () => `http://127.0.0.1:${server.address().port}/index.html`,
  'from disk': () => pathToFileURL(join(webBuild, 'quelt-kontrola.html')).href,
};

const ENDED = () => !['idle', 'running'].includes(document.querySelector('#state').dataset.state);
const state = (page) => page.evaluate(() => document.querySelector('#state').dataset.state);

// Several files are checked as one list unless mode says 'separate'.
async function check(page, paths, {skipW = false, mode = 'parts'} = {}) {
  if (paths.length > 0) await page.upload('input#files', paths);
  await page.evaluate((on, m) => {
    document.querySelector('input#skip-w').checked = on;
    document.querySelector(`input[name="mode"][value="${m}"]`).checked = true;
  }, skipW, mode);
  await page.click('button#run');
  await page.waitFor(ENDED, 120000);
  return state(page);
}

// A check that must end done; when it does not, the page's own words say why.
async function checked(page, paths, options) {
  const ended = await check(page, paths, options);
  const why = ended === 'done' ? '' : await page.evaluate(() =>
    `${document.querySelector('#state').textContent} ${document.querySelector('#failure-text').textContent}`.trim());
  assert.equal(ended, 'done', `the check ended ${ended}: ${why}`);
}

// The totals and every row of the findings table, all of its pages shown.
async function pageFindings(page) {
  for (;;) {
    const more = await page.evaluate(() => {
      const button = document.querySelector('#more-findings');
      if (button.hidden) return false;
      button.click();
      return true;
    });
    if (!more) break;
  }
  return page.evaluate(() => {
    const totals = document.querySelector('#totals');
    return {
      e: totals.dataset.e,
      w: totals.dataset.w,
      rows: [...document.querySelectorAll('table#findings tr[data-code]')].map((tr) => [...tr.cells].map((td) => td.textContent)),
    };
  });
}

// The report the page shows is the native one: its CSV download byte for
// byte, and its totals and rows.
async function assertNativeReport(page, want, what) {
  assert.deepEqual(await page.download('a[data-download="csv"]'), want, `CSV of ${what}`);
  assert.deepEqual(await pageFindings(page), csvFindings(want), `findings table of ${what}`);
}

const text = (page, selector) => page.evaluate((s) => document.querySelector(s).textContent, selector);

// Opens the input's lines around the first finding, with a click on its row
// (on a cell: WebKit's driver does not click a table row itself).
async function openSource(page) {
  await page.click('table#findings tr[data-code] td');
  await page.waitFor(() => document.querySelector('tr.source table.lines') !== null, 30000);
}

// Opens the lines around the first finding of the checked file at path: the
// line marked is the file's line of the finding's number.
async function assertFindingLine(page, path) {
  const line = Number(await text(page, 'table#findings tr[data-code] td'));
  await openSource(page);
  const shown = await page.evaluate(() => {
    const tr = document.querySelector('tr.source tr.hit');
    return [tr.cells[0].textContent, tr.cells[1].textContent];
  });
  const want = decoder.decode(readFileSync(path)).split('\n')[line - 1].replace(/\r/g, '');
  assert.deepEqual(shown, [String(line), want]);
}

// Clicks Cancel in the page the moment the reading has begun (a wait from
// outside could come after the check's end); false when the check ended
// before.
const cancelWhileReading = (page) => page.evaluate(() => new Promise((resolve) => {
  const look = () => {
    const running = document.querySelector('#state').dataset.state === 'running';
    if (running && document.querySelector('#progress').value > 0) {
      document.querySelector('button#cancel').click();
      resolve(true);
    } else if (!running) {
      resolve(false);
    } else {
      setTimeout(look, 2);
    }
  };
  look();
}));

// What has the keyboard's focus: its id, or its tag and class.
const focused = (page) => page.evaluate(() => {
  const at = document.activeElement;
  return at === null ? '' : at.id || `${at.tagName.toLowerCase()}.${at.className}`;
});

// Presses Tab until the focus is on a finding's line button; the number of
// presses, or -1 when it never gets there.
async function tabToFinding(page, limit = 40) {
  for (let n = 1; n <= limit; ++n) {
    await page.press('Tab');
    if (await page.evaluate(() => document.activeElement.matches('table#findings button.line'))) return n;
  }
  return -1;
}

// ---- Verdicts and explanations ----

// The verdict the page shows for the check or file shown.
const shownVerdict = (page) => page.evaluate(() => {
  const v = document.querySelector('#verdict');
  const part = (name) => v.querySelector(`.verdict-${name}`);
  return {verdict: v.dataset.verdict, word: part('word').textContent, headline: part('headline').textContent,
    advice: part('advice').textContent, samples: part('samples').hidden ? '' : part('samples').textContent};
});

// The verdict the checker gives (texts.verdicts: ok, warnings, errors,
// incomplete, noSubmission), with the reason of an incomplete run; the
// tests' builds carry the sample registers, so the note is always there.
function wantVerdict(key, reason = null) {
  const {verdict, word, headline, advice} = texts.verdicts[key];
  return {verdict, word, headline, advice: reason === null ? advice : texts.reason.replace('\u0001', reason),
    samples: texts.samplesNote};
}

// The verdict a native report's totals call for: the oracle of these tests.
const verdictOfReport = (want) => {
  const {e, w} = csvFindings(want);
  return Number(e) > 0 ? 'errors' : Number(w) > 0 ? 'warnings' : 'ok';
};

// A chosen file deleted before the check: the run fails with the checker's
// own message, as quelt does on a file it cannot read, and the file is not
// checked.
async function assertUnreadableFails(page) {
  const gone = input('smazany.xml', readFileSync(files.example));
  await page.upload('input#files', [gone]);
  rmSync(gone);
  assert.equal(await check(page, []), 'failed');
  assert.match(await text(page, '#failure-text'), /Nelze cist soubor {2}smazany\.xml\n Program ukoncen/);
  assert.deepEqual(await shownVerdict(page), wantVerdict('incomplete', 'Nelze cist soubor  smazany.xml'));
}

// The explanation of the finding whose row is open: its terms and texts.
const explanation = (page) => page.evaluate(() => {
  const dl = document.querySelector('tr.source dl.explanation');
  return dl === null ? null : {
    terms: [...dl.querySelectorAll('dt')].map((dt) => dt.textContent),
    texts: [...dl.querySelectorAll('dd')].map((dd) => dd.textContent),
    links: [...dl.querySelectorAll('a')].map((a) => a.getAttribute('href')),
  };
});
const TERMS = ['Co nález znamená', 'Kterého údaje se týká', 'Co udělat'];

// The violations of axe's WCAG 2.1 A and AA rules, shortened to what says
// where: rule, impact and the nodes' selectors.
const axeSummary = (violations) => violations.map((v) => ({id: v.id, impact: v.impact, nodes: v.nodes.map((n) => n.target.join(' '))}));

// ---- The cases, each run in every engine ----

const CASES = [
  {
    // What the way of opening changes: the page's scripts, its policy, its
    // workers and their reading of the chosen files.
    name: 'the example, a faulty submission and a list give the native CSV report',
    bothWays: true,
    async run({page, url, variant}) {
      const cases = [[files.example], [files.faulty], [files.noFinalFeed, files.faulty]];
      for (const paths of cases) {
        await checked(page, paths);
        const want = nativeRun(paths).report;
        await assertNativeReport(page, want, paths.map((p) => basename(p)).join(', '));
        assert.deepEqual(await shownVerdict(page), wantVerdict(verdictOfReport(want)));
      }
      // A finding's code leads to its row of the list of codes beside the
      // single file; the served site has no list of codes, and no link.
      const links = await page.evaluate(() => [...document.querySelectorAll('table#findings tr[data-code]')]
        .map((tr) => [tr.dataset.code, tr.cells[1].querySelector('a')?.getAttribute('href') ?? null]));
      assert.ok(links.length > 0);
      for (const [code, href] of links) assert.equal(href, variant === 'served' ? null : `kody.html#${code}`);
      // Blocks of 777 bytes: the checker waits for the page's blocks
      // everywhere in the input, within and across its reads.
      await page.evaluate(() => { Engine.blockSize = 777; });
      await checked(page, cases[2]);
      await assertNativeReport(page, nativeRun(cases[2]).report, 'a list read in blocks of 777 bytes');
      const requests = await page.requests();
      if (requests !== null) {
        const own = new URL(url);
        for (const r of requests) {
          const u = new URL(r);
          assert.ok(u.protocol === 'blob:' || u.protocol === 'data:' ||
            (u.origin === own.origin && (u.protocol === 'http:' || u.pathname === own.pathname)), `request ${r}`);
        }
      }
      const errors = await page.errors();
      if (errors !== null) assert.deepEqual(errors, []);
      // The page's policy refuses an inline script (the served page allows
      // its own files, the single file its scripts by their hashes); last,
      // since the refusal is an error on the page's console.
      const inline = await page.evaluate(async () => {
        const s = document.createElement('script');
        s.textContent = 'window.inlineRan = true;';
        document.body.appendChild(s);
        await new Promise((r) => setTimeout(r, 50));
        return window.inlineRan === true;
      });
      assert.equal(inline, false, 'the page\'s Content-Security-Policy refuses inline scripts');
    },
  },
  {
    name: '-w counts warnings without writing them',
    async run({page}) {
      await checked(page, [files.faulty], {skipW: true});
      const want = nativeRun([files.faulty], {skipW: true}).report;
      assert.ok(Number(csvFindings(want).w) > 0);
      await assertNativeReport(page, want, 'chybny.xml -w');
      assert.equal(await page.evaluate(() => document.querySelectorAll('tr[data-code^="W"]').length), 0);
    },
  },
  {
    // Chromium and Firefox can suspend WebAssembly: there the page's workers
    // are made to run as where they cannot (WebKit today), which reads each
    // block when the checker asks for it.
    name: 'a browser that cannot suspend WebAssembly runs the Asyncify build, waiting for every block',
    withoutSuspending: true,
    async run({page}) {
      const paths = [files.noFinalFeed, files.faulty];
      await checked(page, paths);
      await assertNativeReport(page, nativeRun(paths).report, 'a list');
      await page.evaluate(() => { Engine.blockSize = 500; });
      await checked(page, paths);
      await assertNativeReport(page, nativeRun(paths).report, 'a list read in blocks of 500 bytes');
      // The checker reads 1 MB at a time: in a file of 5 MB it waits in the
      // middle of elements too, wherever the reads end.
      await page.evaluate(() => { Engine.blockSize = 65536; });
      await checked(page, [files.many]);
      await assertNativeReport(page, nativeRun([files.many]).report, 'mnoho.xml read in blocks of 64 KB');
      await assertUnreadableFails(page);
      const errors = await page.errors();
      if (errors !== null) assert.deepEqual(errors, []);
    },
  },
  {
    name: 'the other reports and the copy are the native ones',
    async run({page}) {
      const paths = [files.noFinalFeed, files.faulty];
      await checked(page, paths);
      for (const kind of ['htm', 'txt', 'xml']) {
        const got = await page.download(`a[data-download="${kind}"]`);
        assert.equal(withoutDate(got), withoutDate(nativeRun(paths, {report: `orve.${kind}`}).report), kind);
      }
      assert.deepEqual(await page.download('a[data-download="copy"]'), nativeRun(paths, {copy: 'kopie.xml'}).copy);
      assert.equal(await text(page, '#output-error'), '');
    },
  },
  {
    name: 'a name the checker cannot take is replaced, and the page says so',
    async run({page}) {
      const spaced = input('muj soubor.xml', readFileSync(files.example));
      await checked(page, [spaced, files.faulty]);
      assert.match(await text(page, '#substitutes'), /„muj soubor\.xml“ .* vstup1\.xml: jméno obsahuje mezeru/);
      const renamed = mkdtempSync(join(work, 'renamed-'));
      copyFileSync(spaced, join(renamed, 'vstup1.xml'));
      const want = nativeRun([join(renamed, 'vstup1.xml'), files.faulty], {report: 'orve.htm'}).report;
      assert.equal(withoutDate(await page.download('a[data-download="htm"]')), withoutDate(want));
    },
  },
  {
    // A name as Windows writes it: the report head shows it as quelt.exe
    // does with the same name in Windows-1250, in every report and on the
    // screen. (Which names get a substitute: tests/web/names_test.mjs.)
    name: 'a Czech file name appears in the reports as quelt.exe writes it',
    async run({page}) {
      const czech = input('mzdy-červen.xml', readFileSync(files.example));
      await checked(page, [czech]);
      assert.equal(await text(page, '#substitutes'), '');
      const cp1250 = Buffer.from([...Buffer.from('mzdy-'), 0xE8, ...Buffer.from('erven.xml')]);
      for (const kind of ['htm', 'csv', 'txt', 'xml']) {
        const want = nativeRunNamed(czech, cp1250, `orve.${kind}`);
        if (kind !== 'csv') assert.ok(want.includes(cp1250), `the native ${kind} report names the file`);
        assert.equal(withoutDate(await page.download(`a[data-download="${kind}"]`)), withoutDate(want), kind);
      }
      assert.doesNotMatch(await text(page, '#console'), /Ä|Ĺ/);
    },
  },
  {
    // The clerk's one question answered first: the verdict above the counts,
    // the findings right under them, each with what it means, which item it
    // concerns and what to do; the downloads named after the checked file;
    // a printout of the verdict, the counts and every column of the table.
    name: 'a misspelt IČO and a year of birth of 1870: the verdict first, each finding explained, downloads named after the file, a printout',
    async run({page}) {
      await checked(page, [files.misspelt]);
      const want = nativeRun([files.misspelt]).report;
      await assertNativeReport(page, want, 'mzdy-cerven.xml');
      assert.deepEqual(await shownVerdict(page), wantVerdict('errors'));
      const order = await page.evaluate(() => [...document.querySelector('#result').children]
        .filter((e) => !e.hidden).map((e) => e.id));
      assert.deepEqual(order, ['result-heading', 'verdict', 'totals', 'findings-box', 'downloads', 'console-box']);
      assert.equal((await text(page, '#totals')).replace(/\s+/g, ' ').trim(), '4chyby (váha E) 1varování (váha W)', 'the counts in Czech plural');

      const names = await page.evaluate(() => Object.fromEntries([...document.querySelectorAll('#downloads a[data-download]')]
        .map((a) => [a.dataset.download, a.getAttribute('download')])));
      assert.deepEqual(names, {htm: 'mzdy-cerven-kontrola.htm', txt: 'mzdy-cerven-kontrola.txt',
        csv: 'mzdy-cerven-kontrola.csv', xml: 'mzdy-cerven-kontrola.xml', copy: 'mzdy-cerven-kopie.xml'});

      // Every finding's explanation, in the words of the C++ sources: the
      // item, the place, and what to do by the weight and the kind of rule
      // (a check digit; a register, whose findings the samples make moot).
      const {items, weightAdvice: {E, W}, adviceKinds} = texts;
      const expected = {
        EL031: [`${items.AA0017}. Místo: zaměstnavatel 30000008.`, `${E.what} ${adviceKinds.checkDigit}`],
        WR204: [`${items.AA0017}. Místo: zaměstnavatel 30000008.`, `${W.what} ${adviceKinds.register} ${texts.samplesNote}`],
        EL002: [`${items.AA0231}. Místo: zaměstnavatel 30000008, zaměstnanec 1001.`, `${E.what} ${E.fix}`],
      };
      for (const [code, [item, advice]] of Object.entries(expected)) {
        await page.click(`table#findings tr[data-code="${code}"] td`);
        const told = await explanation(page);
        assert.deepEqual(told.terms, TERMS, code);
        assert.deepEqual(told.texts.slice(1), [item, advice], code);
        assert.deepEqual(told.links, [`kody.html#${code}`], code);
        await page.click(`table#findings tr[data-code="${code}"] td`);
      }

      // The print style (its rules made to apply to the screen, in a window
      // as wide as an A4 page's text): the verdict, the counts and the whole
      // table with all its columns; no control, no download, no console.
      await page.setViewport(700, 900);
      const printed = await page.evaluate(() => {
        for (const sheet of document.styleSheets) {
          for (const rule of sheet.cssRules)
            if (rule instanceof CSSMediaRule && rule.media.mediaText === 'print') rule.media.mediaText = 'all';
        }
        const shown = (e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden';
        const width = document.documentElement.clientWidth;
        const table = document.querySelector('table#findings');
        return {
          shown: ['#verdict', '#totals', 'table#findings'].filter((s) => !shown(document.querySelector(s))),
          hidden: ['#choose', 'button#run', '#downloads', '#console-box', '.filters', '#progress-box']
            .filter((s) => shown(document.querySelector(s))),
          clipped: [...table.querySelectorAll('th, td')].filter((c) => c.getBoundingClientRect().right > width + 1 ||
            c.getBoundingClientRect().width < 8).length,
          wider: table.scrollWidth > table.parentElement.clientWidth || document.documentElement.scrollWidth > width,
        };
      });
      assert.deepEqual(printed, {shown: [], hidden: [], clipped: 0, wider: false});
    },
  },
  {
    // The page's own reading of the lines, on blobs it makes itself.
    name: 'a line that runs on into the next file of a list shows both parts',
    async run({page}) {
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
    },
  },
  {
    // A check that is not completed: cancelled, a file that can no longer be
    // read, a failure inside the page.
    name: 'a check can be cancelled, an unreadable file fails with the checker message, a failure in the page is said',
    async run({page}) {
      await page.upload('input#files', [files.large]);
      await page.click('button#run');
      const clicked = await cancelWhileReading(page);
      assert.ok(clicked, `the check ended ${await state(page)} before it could be cancelled: ${await text(page, '#failure-text')}`);
      await page.waitFor(() => document.querySelector('#state').dataset.state !== 'running', 30000);
      assert.equal(await state(page), 'cancelled');
      assert.ok(await page.evaluate(() => document.querySelector('#progress').value) < 1);
      assert.equal(await page.evaluate(() => document.querySelector('#result').hidden), true, 'a cancelled check has no verdict');
      // A new check after the cancel runs to its end.
      await checked(page, [files.example]);
      await assertNativeReport(page, nativeRun([files.example]).report, 'a check after a cancel');
      await assertUnreadableFails(page);

      // A check that fails inside the page, where no run gave a verdict: the
      // file was not checked, and the verdict says why.
      await page.evaluate(() => {
        Engine.run = () => ({done: Promise.reject(new Error('Pracovní proces se nespustil.')), cancel() {}});
      });
      assert.equal(await check(page, [files.example]), 'failed');
      assert.deepEqual(await shownVerdict(page), wantVerdict('incomplete', 'Pracovní proces se nespustil'));
    },
  },
  {
    // Everything without a mouse: the check started with Enter, the focus
    // kept when Cancel disappears, a finding reached with Tab and opened with
    // Enter, the table one stop of the Tab key with the arrows inside.
    name: 'the keyboard alone: Tab to a finding, Enter opens its lines, the table is one Tab stop',
    async run({page}) {
      await page.upload('input#files', [files.faulty]);
      await page.evaluate(() => document.querySelector('button#run').focus());
      await page.press('Enter');
      await page.waitFor(ENDED, 120000);
      assert.equal(await state(page), 'done');
      assert.equal(await focused(page), 'result-heading', 'the focus goes to the result when Cancel disappears');

      assert.ok(await tabToFinding(page) > 0, 'Tab reaches a finding');
      const rows = await page.evaluate(() => [...document.querySelectorAll('table#findings tr[data-code]')].map((tr) => tr.dataset.index));
      const at = () => page.evaluate(() => document.activeElement.closest('tr').dataset.index);
      assert.equal(await at(), rows[0]);
      await page.press('ArrowDown');
      assert.equal(await at(), rows[1]);
      await page.press('End');
      assert.equal(await at(), rows.at(-1));
      await page.press('Home');
      assert.equal(await at(), rows[0]);
      await page.press('ArrowDown');

      const button = () => page.evaluate(() => {
        const b = document.activeElement;
        const region = document.getElementById(b.getAttribute('aria-controls'));
        return {
          expanded: b.getAttribute('aria-expanded'),
          region: region === null ? null : region.getAttribute('aria-label'),
          lines: region === null ? null : region.querySelector('table.lines')?.getAttribute('aria-label') ?? null,
        };
      });
      await page.press('Enter');
      await page.waitFor(() => document.querySelector('tr.source table.lines') !== null, 30000);
      const open = await button();
      assert.equal(open.expanded, 'true');
      assert.match(open.region, /^Nález \w+ na řádku \d+: vysvětlení a místo v datovém souboru$/);
      assert.match(open.lines, /^Řádky \d+ až \d+ datového souboru/);
      // The finding's explanation comes with its lines: what the code means,
      // the item, and what to do, by the finding's weight at least.
      const [code, description] = await page.evaluate(() => {
        const tr = document.activeElement.closest('tr');
        return [tr.dataset.code, tr.cells[7].textContent];
      });
      const told = await explanation(page);
      assert.deepEqual(told.terms, TERMS);
      assert.ok(told.texts[0].startsWith(`${code} – `) && told.texts[0].includes(description.trim()), told.texts[0]);
      assert.ok(told.texts[2].startsWith(texts.weightAdvice[code[0]].what), told.texts[2]);
      await page.press('Space');
      assert.deepEqual(await button(), {expanded: 'false', region: null, lines: null});
      assert.equal(await at(), rows[1], 'the focus stays on the finding');

      // One stop: Tab leaves the table; coming back from the control before
      // it (past the table's box, a stop of its own where it scrolls), the
      // focus is on the same finding.
      await page.press('Tab');
      assert.equal(await page.evaluate(() => document.activeElement.closest('table#findings')), null);
      await page.evaluate(() => document.querySelector('#filter-employer').focus());
      const stops = await tabToFinding(page, 2);
      assert.ok(stops > 0, 'the table follows the filters');
      assert.equal(await at(), rows[1]);
    },
  },
  {
    name: 'more findings: the focus goes to the first added row, and every link has an address',
    async run({page}) {
      await checked(page, [files.many]);
      assert.equal(await page.evaluate(() => document.querySelectorAll('table#findings tr[data-code]').length), 2000);
      const links = await page.evaluate(() =>
        [...document.querySelectorAll('a[data-download], a[data-open]')].filter((a) => !a.hasAttribute('href')).length);
      assert.equal(links, 0, 'every download link can take the focus');
      await page.evaluate(() => document.querySelector('#more-findings').focus());
      await page.press('Enter');
      await page.waitFor(() => document.querySelectorAll('table#findings tr[data-code]').length > 2000, 30000);
      assert.equal(await page.evaluate(() => document.activeElement.closest('tr').rowIndex), 2001);
      assert.equal(await page.evaluate(() => document.querySelector('#more-findings').hidden), true);
      await assertNativeReport(page, nativeRun([files.many]).report, 'mnoho.xml');
    },
  },
  {
    // The page held to axe's WCAG 2.1 A and AA rules at start, after a check
    // with findings, with a finding's lines open, and at 400 px. In a window
    // of 400 px the page keeps its width, the findings table scrolls in a
    // named box that the keyboard reaches, and its rows stay as low as in a
    // wide window.
    name: 'a finding shows its line of the input; axe finds no WCAG 2.1 A or AA violation; at 400 px the page does not scroll sideways',
    async run({page}) {
      const found = {};
      const wider = [];
      const look = async (when) => {
        const s = await page.evaluate(() => ({clientWidth: document.documentElement.clientWidth, scrollWidth: document.documentElement.scrollWidth}));
        if (s.scrollWidth > s.clientWidth) wider.push(`${when}: the page is ${s.scrollWidth} px wide in a window of ${s.clientWidth} px`);
      };
      const opened = await page.evaluate(() => ({width: innerWidth, height: innerHeight}));
      found['at start'] = axeSummary(await page.axe());
      // The driver's window must really be narrow, or nothing here is tested.
      const size = await page.setViewport(400, 800);
      assert.ok(size.width <= 400 && size.width >= 390, `innerWidth ${size.width} in a window of 400 px`);
      await look('at start');
      await page.setViewport(opened.width, opened.height);
      await checked(page, [files.faulty]);
      found['after a check with findings'] = axeSummary(await page.axe());
      await assertFindingLine(page, files.faulty);
      found['with source lines open'] = axeSummary(await page.axe());
      await page.setViewport(400, 800);
      found['at 400 px'] = axeSummary(await page.axe());
      await look('with source lines open');
      assert.deepEqual(found, {'at start': [], 'after a check with findings': [], 'with source lines open': [], 'at 400 px': []});

      // The lines closed again: the rows at 400 px and in a wide window.
      await page.click('table#findings tr[data-code] td');
      await look('after a check with findings');
      const heights = () => page.evaluate(() =>
        [...document.querySelectorAll('table#findings tr[data-code]')].map((tr) => tr.getBoundingClientRect().height));
      const narrow = await heights();
      // The box becomes a stop of the Tab key once the page has seen its new size.
      await page.waitFor(() => document.querySelector('#findings-scroll').tabIndex === 0, 5000);
      const box = await page.evaluate(() => {
        const b = document.querySelector('#findings-scroll');
        return {scrolls: b.scrollWidth > b.clientWidth, tabIndex: b.tabIndex, role: b.getAttribute('role'),
          name: document.getElementById(b.getAttribute('aria-labelledby')).textContent};
      });
      assert.deepEqual(box, {scrolls: true, tabIndex: 0, role: 'region', name: 'Nalezené chyby'});
      await page.setViewport(1280, 800);
      const wide = await heights();
      narrow.forEach((h, i) => assert.ok(h <= wide[i] * 1.5 + 1, `row ${i}: ${h} px high at 400 px, ${wide[i]} px in a wide window`));
      assert.deepEqual(wider, []);
    },
  },
  {
    // Several files: the clerk chooses, with the keyboard, between separate
    // submissions (the default) and the parts of one, which are one list as
    // before. Each separate submission is the native single run of that file
    // under its name, bad input gets its row and the others are checked, the
    // summary leads to every file's result, and a cancel leaves the files
    // not checked rows of their own.
    name: 'several files: separate submissions or the parts of one; a native single run each, the summary and souhrn.csv, a cancel',
    async run({page, engine}, t) {
      const parts = [files.noFinalFeed, files.faulty];
      await page.upload('input#files', parts);
      const mode = () => page.evaluate(() => ({
        mode: document.querySelector('input[name="mode"]:checked').value,
        hints: ['list-hint', 'separate-hint'].filter((id) => !document.getElementById(id).hidden),
      }));
      assert.deepEqual(await mode(), {mode: 'separate', hints: ['separate-hint']});
      await page.evaluate(() => document.querySelector('input[name="mode"]:checked').focus());
      await page.press('ArrowDown');
      assert.deepEqual(await mode(), {mode: 'parts', hints: ['list-hint']});
      await page.click('button#run');
      await page.waitFor(ENDED, 120000);
      assert.equal(await state(page), 'done');
      await assertNativeReport(page, nativeRun(parts).report, 'the parts of one submission');
      assert.equal(await page.evaluate(() => document.querySelector('#batch').hidden), true);

      await page.evaluate(() => document.querySelector('input[name="mode"]:checked').focus());
      await page.press('ArrowUp');
      assert.deepEqual(await mode(), {mode: 'separate', hints: ['separate-hint']});

      // Separate submissions.
      const czechName = Buffer.from([...Buffer.from('pobo'), 0xE8, ...Buffer.from('ka-'), 0x8A, ...Buffer.from('umperk.xml')]);
      const czech = input('pobočka-Šumperk.xml', readFileSync(files.faulty));
      const gone = input('zmizely.xml', readFileSync(files.example));
      const paths = [files.example, files.faulty, czech, input('prazdny.xml', ''),
        input('binarni.xml', Buffer.from(Array.from({length: 3000}, (_, i) => (i * 73 + 41) & 255))),
        input('jiny;soubor.xml', '<?xml version="1.0" encoding="windows-1250"?>\n<faktura><cislo>1</cislo></faktura>\n'),
        files.warningsOnly, gone];
      const wanted = paths.map((p) => (p === gone ? null : p === czech ? nativeRunNamed(czech, czechName, 'orve.csv') : nativeRun([p]).report));
      const unreadable = /^Nelze cist soubor {2}zmizely\.xml\s+Program ukoncen$/;
      // Each file's verdict: the empty, binary and foreign files hold no
      // submission; the vanished one was not checked.
      const verdicts = ['ok', 'errors', 'errors', 'noSubmission', 'noSubmission', 'noSubmission', 'warnings', 'incomplete'];
      const reasons = paths.map((p) => (p === gone ? 'Nelze cist soubor  zmizely.xml' : null));
      const batchSummary = nativeBatchSummary(paths.filter((p) => p !== gone));

      await page.upload('input#files', paths);
      rmSync(gone);
      assert.deepEqual(await mode(), {mode: 'separate', hints: ['separate-hint']}, 'a new choice keeps the mode');
      // The most runs under way at a time, seen from inside the page.
      await page.evaluate(() => {
        window.mostRunning = 0;
        new MutationObserver(() => {
          const n = document.querySelectorAll('table#summary tr[data-state="running"]').length;
          window.mostRunning = Math.max(window.mostRunning, n);
        }).observe(document.querySelector('table#summary'), {subtree: true, childList: true, attributes: true});
      });
      await page.click('button#run');
      await page.waitFor(ENDED, 120000);
      assert.equal(await state(page), 'done', await text(page, '#state'));
      const word = (key) => texts.verdicts[key].word;
      assert.equal(await text(page, '#state'), `Kontrola proběhla. Souborů: 8; ${word('ok')} 1, ${word('warnings')} 1, ` +
        `${word('errors')} 5, ${word('incomplete')} 1.`);
      assert.equal(await focused(page), 'batch-heading', 'the focus goes to the summary when Cancel disappears');
      const {most, allowed} = await page.evaluate(() => ({most: window.mostRunning, allowed: Math.min(navigator.hardwareConcurrency, 4)}));
      assert.ok(most >= 1 && most <= allowed, `${most} runs at a time, ${allowed} allowed`);
      t.diagnostic(`${engine}: at most ${most} runs at a time, ${allowed} allowed`);

      // A row a file, in the order chosen, with its verdict in words and the
      // totals of its native run.
      const rows = await page.evaluate(() => [...document.querySelectorAll('table#summary tbody tr')].map((tr) =>
        ({name: tr.cells[0].textContent, verdict: tr.dataset.verdict, word: tr.cells[1].textContent, state: tr.dataset.state,
          e: tr.dataset.e, w: tr.dataset.w, text: tr.cells[4].textContent})));
      assert.deepEqual(rows.map(({text: _, ...row}) => row), paths.map((p, i) => ({name: basename(p),
        verdict: texts.verdicts[verdicts[i]].verdict, word: word(verdicts[i]),
        ...(wanted[i] === null ? {state: 'failed', e: '', w: ''} : {state: 'done', e: csvFindings(wanted[i]).e, w: csvFindings(wanted[i]).w})})));
      assert.match(rows.at(-1).text, /^nezkontrolován: Nelze cist soubor {2}zmizely\.xml Program ukoncen$/);
      assert.ok(Number(rows[3].e) > 0 && Number(rows[4].e) > 0 && Number(rows[5].e) > 0, 'empty, binary and foreign files have findings');

      // souhrn.csv: Windows-1250, a row a file, the columns of quelt-davka's
      // summary with its values for the same files, fields made safe.
      const summary = await page.download('a[data-download="souhrn"]');
      assert.ok(summary.includes(czechName), 'the Czech name in Windows-1250');
      const lines = decoder.decode(summary).split('\n');
      assert.equal(lines.pop(), '', 'the last row ends in a line feed');
      assert.ok(lines.some((l) => l.startsWith('"jiny;soubor.xml";')), 'a name holding ";" is quoted');
      const fields = lines.map(csvFields);
      const heading = fields[0];
      assert.deepEqual(heading, ['Soubor', 'IČO předkladatele', 'IČO zaměstnavatelů', 'Záznamů zaměstnanců', 'Chyb E', 'Chyb W',
        'Výsledek', 'Stav', 'Zpráva', 'Protokol']);
      const column = (row, name) => row[heading.indexOf(name)];
      paths.forEach((p, i) => {
        const row = fields[i + 1];
        const base = basename(p).replace(/\.xml$/, '');
        assert.deepEqual([row[0], column(row, 'Výsledek'), column(row, 'Protokol')],
          [basename(p), word(verdicts[i]), p === gone ? '' : `${base}-kontrola.htm`], basename(p));
        if (p === gone) return;
        for (const [name, value] of Object.entries(batchSummary[i])) assert.equal(column(row, name), value, `${basename(p)}: ${name}`);
      });
      assert.deepEqual(fields.at(-1).slice(1, 8), ['', '', '', '', '', word('incomplete'), '13']);
      assert.match(column(fields.at(-1), 'Zpráva'), unreadable);

      // Every file's result: its verdict, its CSV report byte for byte and
      // its findings table, or the checker's message.
      for (const [i, p] of paths.entries()) {
        await page.click(`table#summary tbody tr:nth-child(${i + 1}) button.show`);
        assert.equal(await text(page, '#result-file'), `: ${basename(p)}`);
        assert.deepEqual(await shownVerdict(page), wantVerdict(verdicts[i], reasons[i]), basename(p));
        if (wanted[i] === null) assert.match(await text(page, '#failure-text'), unreadable);
        else await assertNativeReport(page, wanted[i], basename(p));
      }
      // Another report of a file, made on request, is its own native run too.
      await page.click('table#summary tbody tr:nth-child(3) button.show');
      assert.equal(withoutDate(await page.download('a[data-download="htm"]')),
        withoutDate(nativeRunNamed(czech, czechName, 'orve.htm')));

      // The keyboard: from the summary's heading to the second file, its
      // result, and back to its row.
      await page.evaluate(() => document.querySelector('#batch-heading').focus());
      await page.press('Tab');
      await page.press('Tab');
      await page.press('Enter');
      assert.equal(await focused(page), 'result-heading');
      assert.equal(await text(page, '#result-file'), ': chybny.xml');
      await assertFindingLine(page, files.faulty);
      await page.evaluate(() => document.querySelector('#result-heading').focus());
      await page.press('Tab');
      assert.equal(await focused(page), 'back-to-summary');
      await page.press('Enter');
      assert.deepEqual(await page.evaluate(() => [document.activeElement.textContent, document.activeElement.getAttribute('aria-current')]),
        ['chybny.xml', 'true']);

      // axe once (it takes seconds in WebKit): the summary, a file's result
      // and its lines open; the colours and names do not change at 400 px.
      assert.deepEqual(axeSummary(await page.axe()), []);
      await page.setViewport(400, 800);
      assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth),
        'at 400 px the page does not scroll sideways');

      // A cancel ends the runs under way, and the files not yet checked are
      // rows of their own; the summary says so.
      await page.upload('input#files', [files.large, files.many, files.faulty]);
      await page.click('button#run');
      const clicked = await cancelWhileReading(page);
      assert.ok(clicked, `the check ended ${await state(page)} before it could be cancelled`);
      await page.waitFor(ENDED, 30000);
      assert.equal(await state(page), 'cancelled');
      assert.equal(await focused(page), 'batch-heading');
      const ended = await page.evaluate(() => [...document.querySelectorAll('table#summary tbody tr')].map((tr) => tr.dataset.state));
      assert.ok(ended.every((x) => x === 'done' || x === 'cancelled') && ended.includes('cancelled'), ended.join(', '));
      const after = decoder.decode(await page.download('a[data-download="souhrn"]')).split('\n').slice(1, -1).map(csvFields);
      assert.deepEqual(after.map((f) => f[0]), ['velky.xml', 'mnoho.xml', 'chybny.xml']);
      ended.forEach((x, i) => {
        if (x === 'cancelled') assert.deepEqual(after[i].slice(1), ['', '', '', '', '', '', '', 'Kontrola byla zrušena.', '']);
      });
      // A cancelled file has no verdict.
      assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('table#summary tbody tr[data-state="cancelled"]')]
        .map((tr) => tr.dataset.verdict).filter((v) => v !== '')), []);
      const errors = await page.errors();
      if (errors !== null) assert.deepEqual(errors, []);
    },
  },

];

// The page made to run as where WebAssembly cannot be suspended: the page
// chooses the module's build by that feature before anything else.
function withoutSuspending() {
  delete WebAssembly.Suspending;
}

// Each engine's time, from its launch to its close, printed at the end.
const took = [];
after(() => console.log(`browser test: ${took.join(', ')}`));

for (const engine of engines) {
  describe(engine, () => {
    let browser;
    let started;
    before(async () => {
      started = Date.now();
      browser = await launch(engine);
    });
    after(async () => {
      if (browser) await browser.close();
      took.push(`${engine}${browser ? ` (${browser.version})` : ''} ${((Date.now() - started) / 1000).toFixed(1)} s`);
    });

    // Each case once, from disk (the single file the release carries); the
    // cases that the way of opening changes, served too.
    for (const kase of CASES) {
      for (const variant of kase.bothWays ? ['from disk', 'served'] : ['from disk']) {
        test(`${kase.name} (page ${variant})`, {timeout: 300000}, async (t) => {
          // An engine that cannot suspend WebAssembly runs the page as it is;
          // one that can, with the page's workers made unable to.
          const beforeLoad = kase.withoutSuspending && browser.can.beforeLoad ? withoutSuspending : null;
          const page = await browser.newPage({beforeLoad});
          try {
            const url = variants[variant]();
            await page.goto(url);
            if (kase.withoutSuspending && beforeLoad === null)
              assert.equal(await page.evaluate(() => typeof WebAssembly.Suspending), 'undefined',
                `${engine} can suspend WebAssembly, and its driver cannot change the page before it loads`);
            await kase.run({page, engine, variant, url}, t);
          } finally {
            await page.close();
          }
        });
      }
    }
  });
}
