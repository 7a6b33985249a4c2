// The driver layer's bounds and its second start (browsers.mjs), without a
// browser: WebKitWebDriver is replaced by a stand-in speaking just enough
// WebDriver, which fails the ways a loaded machine saw the real one fail. A
// step without an answer must fail in its bound, saying what it waited for;
// a start that fails is made once more, with a fresh driver.
//
//   node --test tests/web/browsers_test.mjs      (CTest: web.browsers)
import assert from 'node:assert/strict';
import {chmodSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, test} from 'node:test';
import {BOUNDS, launch} from './browsers.mjs';

const work = mkdtempSync(join(tmpdir(), 'quelt-browsers-'));
after(() => rmSync(work, {recursive: true, force: true}));

// The stand-in: STAND_IN names, per start of the driver (the first, the
// second...), how it behaves; STARTS counts its starts.
//   exit      ends at once, with status 3 and a word on standard error
//   session   never answers a session's start (its MiniBrowser ended)
//   execute   starts sessions, never answers a script
//   ok        answers everything
const STAND_IN = `#!/usr/bin/env node
const {appendFileSync, readFileSync} = require('node:fs');
const {createServer} = require('node:http');
appendFileSync(process.env.STARTS, 'x');
const n = readFileSync(process.env.STARTS, 'utf8').length;
const ways = process.env.STAND_IN.split(',');
const way = ways[Math.min(n, ways.length) - 1];
if (way === 'exit') { process.stderr.write('cannot open display: :99\\n'); process.exit(3); }
const port = Number(process.argv.find((a) => a.startsWith('--port=')).slice(7));
createServer((req, res) => {
  const answer = (value) => res.end(JSON.stringify({value}));
  if (req.url === '/status') return answer({ready: true});
  if (req.method === 'POST' && req.url === '/session') {
    if (way === 'session') { process.stderr.write('cannot open display: :99\\n'); return; }
    return answer({sessionId: 's' + n, capabilities: {browserVersion: 'stand-in'}});
  }
  if (req.url.endsWith('/execute/async') && way === 'execute') return;
  answer(null);
}).listen(port, '127.0.0.1');
`;
const standIn = join(work, 'WebKitWebDriver');
writeFileSync(standIn, STAND_IN);
chmodSync(standIn, 0o755);
process.env.WEBKIT_DRIVER = standIn;
process.env.DISPLAY = process.env.DISPLAY || ':99';
// A start's bound leaves the stand-in (a Node program) time to start on a
// loaded machine; the other steps' are short.
Object.assign(BOUNDS, {start: 4000, command: 1000, evaluate: 1000, goto: 1000});

// Runs fn with the stand-in behaving as ways; returns the driver's starts,
// what the layer said on standard error, and fn's error (or null).
async function withStandIn(ways, fn) {
  const starts = join(work, `starts-${ways}`);
  writeFileSync(starts, '');
  process.env.STAND_IN = ways;
  process.env.STARTS = starts;
  const said = [];
  const error = console.error;
  console.error = (line) => said.push(String(line));
  let failed = null;
  try {
    await fn();
  } catch (e) {
    failed = e;
  } finally {
    console.error = error;
  }
  return {starts: readFileSync(starts, 'utf8').length, said, failed};
}

// ways | what must happen: the starts of the driver, the error's words (none: no error), words said meanwhile
const CASES = [
  ['exit', 2, /WebKitWebDriver did not start twice: WebKitWebDriver ended \(status 3\): cannot open display/, /once more/],
  ['exit,ok', 2, null, /WebKitWebDriver did not start \(WebKitWebDriver ended \(status 3\).*\); once more/],
  // The second try of a session gets a fresh driver.
  ['session,ok', 2, null,
    /a MiniBrowser did not start \(WebKitWebDriver POST \/session \(a MiniBrowser started\): no answer in 4000 ms; meanwhile the driver and browser said: cannot open display: :99\); once more/],
  ['execute', 1, /POST \/session\/s1\/execute\/async \(evaluate \(\) => document\.title\): no answer in 1000 ms/, null],
];

for (const [ways, starts, error, said] of CASES) {
  // The test's own bound: a layer that waits for ever fails here.
  test(`a WebKitWebDriver that behaves as "${ways}"`, {timeout: 30000}, async () => {
    const began = Date.now();
    const got = await withStandIn(ways, async () => {
      const browser = await launch('webkit');
      try {
        const page = await browser.newPage();
        await page.goto('about:blank');
        if (ways === 'execute') await page.evaluate(() => document.title);
        await page.close();
      } finally {
        await browser.close();
      }
    });
    assert.equal(got.starts, starts, 'the driver\'s starts');
    if (error === null) assert.equal(got.failed, null, got.failed?.message);
    else assert.match(got.failed?.message ?? 'no error', error);
    if (said !== null) assert.match(got.said.join('\n'), said);
    assert.ok(Date.now() - began < 20000, `bounded: ${Date.now() - began} ms`);
  });
}
