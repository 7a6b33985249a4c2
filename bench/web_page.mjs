// Times checks in the web page in one browser engine, each beside that
// engine's bare read of the same file: a worker started from a blob: address
// that reads the chosen File in 16 MB blocks with the browser's synchronous
// reader and does nothing else, what the page cannot beat in that browser.
// The bare read runs in a small probe page of its own (the page's policy
// allows no script but its own), in the same browser, right after each check.
//
// Chromium and Firefox open the page from disk; WebKit from a server on
// 127.0.0.1, where its workers can read a chosen file. Each time runs in the
// page, from the click to the end: the check's from the click on
// "Zkontrolovat" to the state done.
//
// Prints per run "page SECONDS" and "read SECONDS", then saves the CSV report
// of the last check.
//
//   node bench/web_page.mjs ENGINE WEB-BUILD INPUT RUNS CSV-OUT
// ENGINE: chromium, firefox or webkit (under xvfb-run -a).
import {mkdtempSync, rmSync, statSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';
import {launch, serveFolders} from '../tests/web/browsers.mjs';

const [engine, webBuild, input, runs, csvOut] = process.argv.slice(2);
if (!csvOut) {
  console.error('usage: node bench/web_page.mjs ENGINE WEB-BUILD INPUT RUNS CSV-OUT');
  process.exit(2);
}

// The bare read: the worker reads every block and sends back the bytes read.
const PROBE = `<!doctype html>
<html lang="en"><head><meta charset="utf-8"><title>Bare read</title></head>
<body>
<input type="file" id="file"> <button type="button" id="read">Read</button>
<p id="result"></p>
<script>
const WORKER = 'onmessage = ({data}) => {' +
  ' const reader = new FileReaderSync(); const block = 16 << 20; let bytes = 0;' +
  ' for (let at = 0; at < data.size; at += block) bytes += reader.readAsArrayBuffer(data.slice(at, at + block)).byteLength;' +
  ' postMessage(bytes); };';
document.getElementById('read').addEventListener('click', () => {
  const file = document.getElementById('file').files[0];
  const result = document.getElementById('result');
  const start = performance.now();
  const worker = new Worker(URL.createObjectURL(new Blob([WORKER], {type: 'text/javascript'})));
  worker.onmessage = ({data}) => {
    result.dataset.seconds = String((performance.now() - start) / 1000);
    result.dataset.bytes = String(data);
    worker.terminate();
  };
  worker.onerror = (e) => { result.dataset.error = e.message || 'the worker failed'; };
  worker.postMessage(file);
});
</script>
</body></html>
`;

const probeDir = mkdtempSync(join(tmpdir(), 'quelt-web-probe-'));
writeFileSync(join(probeDir, 'probe.html'), PROBE);

// The site and the probe from 127.0.0.1.
const server = engine === 'webkit' ? await serveFolders(resolve(webBuild, 'site'), probeDir) : null;
const at = (name) => `http://127.0.0.1:${server.address().port}/${name}`;
const pageUrl = server ? at('index.html') : pathToFileURL(resolve(webBuild, 'quelt-kontrola.html')).href;
const probeUrl = server ? at('probe.html') : pathToFileURL(join(probeDir, 'probe.html')).href;

// One check in the page: seconds from the click to the state after running.
async function timeCheck(page) {
  await page.goto(pageUrl);
  await page.upload('input#files', [resolve(input)]);
  await page.evaluate(() => {
    document.addEventListener('click', (e) => {
      if (e.target.id === 'run') window.benchStart = performance.now();
    }, true);
    const state = document.querySelector('#state');
    new MutationObserver(() => {
      if (state.dataset.state !== 'running' && window.benchStart !== undefined && window.benchEnd === undefined)
        window.benchEnd = performance.now();
    }).observe(state, {attributes: true, attributeFilter: ['data-state']});
  });
  await page.click('button#run');
  await page.waitFor(() => window.benchEnd !== undefined, 1800000);
  const state = await page.evaluate(() => document.querySelector('#state').dataset.state);
  if (state !== 'done') throw new Error(`${engine}: the check ended ${state}`);
  return page.evaluate(() => (window.benchEnd - window.benchStart) / 1000);
}

// The bare read in the probe page: its seconds.
async function timeRead(page) {
  await page.goto(probeUrl);
  await page.upload('input#file', [resolve(input)]);
  await page.click('button#read');
  await page.waitFor(() => {
    const d = document.querySelector('#result').dataset;
    return d.seconds !== undefined || d.error !== undefined;
  }, 1800000);
  const result = await page.evaluate(() => ({...document.querySelector('#result').dataset}));
  if (result.error !== undefined) throw new Error(`${engine}: the bare read failed: ${result.error}`);
  if (Number(result.bytes) !== statSync(input).size) throw new Error(`${engine}: the bare read read ${result.bytes} bytes`);
  return Number(result.seconds);
}

const browser = await launch(engine);
try {
  for (let i = 0; i < Number(runs); ++i) {
    let page = await browser.newPage();
    console.log(`page ${(await timeCheck(page)).toFixed(3)}`);
    if (i === Number(runs) - 1) writeFileSync(csvOut, await page.download('a[data-download="csv"]'));
    await page.close();
    page = await browser.newPage();
    console.log(`read ${(await timeRead(page)).toFixed(3)}`);
    await page.close();
  }
} finally {
  await browser.close();
  if (server) server.close();
  rmSync(probeDir, {recursive: true, force: true});
}
