// Times checks in the web page in headless Chromium: the page opened from
// disk, one file chosen, from the click on "Zkontrolovat" to the state done.
// Prints one time in seconds a run, then saves the CSV report of the last run.
//
//   node bench/web_page.mjs PAGE.html INPUT RUNS CSV-OUT
import {copyFileSync, existsSync, mkdtempSync, rmSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const puppeteer = createRequire(join(root, 'tests/web/package.json'))('puppeteer-core');
const [pagePath, input, runs, csvOut] = process.argv.slice(2);

const downloads = mkdtempSync(join(tmpdir(), 'quelt-web-bench-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
try {
  for (let i = 0; i < Number(runs); ++i) {
    const page = await browser.newPage();
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
    await page.goto(pathToFileURL(resolve(pagePath)).href);
    await (await page.$('input#files')).uploadFile(resolve(input));
    const start = Date.now();
    await page.click('button#run');
    await page.waitForFunction(() => document.querySelector('#state').dataset.state !== 'running',
      {timeout: 600000, polling: 20});
    const seconds = (Date.now() - start) / 1000;
    const state = await page.$eval('#state', (el) => el.dataset.state);
    if (state !== 'done') throw new Error(`the check ended ${state}`);
    console.log(seconds.toFixed(3));
    if (i === Number(runs) - 1) {
      await page.click('a[data-download="csv"]');
      const saved = join(downloads, 'orve.csv');
      for (let k = 0; k < 600 && !existsSync(saved); ++k) await new Promise((r) => setTimeout(r, 100));
      copyFileSync(saved, csvOut);
    }
    await page.close();
  }
} finally {
  await browser.close();
  rmSync(downloads, {recursive: true, force: true});
}
