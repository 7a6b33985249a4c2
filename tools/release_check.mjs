// Checks an unpacked release archive as a clerk would meet it, in the
// browsers (tests/web/browsers.mjs; QUELT_BROWSERS chooses the engines):
// - quelt-kontrola.html opened from disk shows the release's label, version
//   and, for sample registers, the note naming their findings; it checks the
//   packed example to the end, without a finding that a register decides
//   (ER202, WR204, EL046: the example carries the folder's own register
//   entries, so such a finding means the page does not carry the folder's
//   lists);
// - navod.html and kody.html: no violation of axe-core's WCAG 2.1 A and AA
//   rules, at a wide window and at 400 px, no sideways scrolling at 400 px,
//   and the focus of the keyboard visible;
// - every relative link of the three pages leads to a file of the archive.
//
//   node tools/release_check.mjs FOLDER LABEL SAMPLES VERSION
// SAMPLES: the codes the sample registers make unreliable, space-separated
// (empty for a campaign's lists), as tools/campaign.mjs samples prints them.
import {existsSync, readFileSync} from 'node:fs';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {chosenEngines, launch} from '../tests/web/browsers.mjs';

const [folder, label, samples, version] = process.argv.slice(2);
if (version === undefined) {
  console.error('usage: node tools/release_check.mjs FOLDER LABEL SAMPLES VERSION');
  process.exit(2);
}

const REGISTER_CODES = ['ER202', 'WR204', 'EL046'];
const PAGES = ['quelt-kontrola.html', 'navod.html', 'kody.html'];
const failures = [];
const fail = (what) => { failures.push(what); console.error(`FAILED: ${what}`); };
const urlOf = (name) => pathToFileURL(join(folder, name)).href;
const summary = (violations) => violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`).join('; ');

// Relative links (not an address, not a place in the same page) and the
// files they name.
function brokenLinks() {
  for (const name of PAGES) {
    const html = readFileSync(join(folder, name), 'utf8');
    for (const [, href] of html.matchAll(/<a [^>]*href="([^"]*)"/g)) {
      if (/^[a-z][a-z0-9+.-]*:/i.test(href) || href.startsWith('#')) continue;
      const file = decodeURIComponent(href.replace(/#.*/, ''));
      if (!existsSync(join(folder, file))) fail(`${name} links to ${href}, which the archive does not hold`);
    }
  }
  const page = readFileSync(join(folder, 'quelt-kontrola.html'), 'utf8');
  if (!page.includes('href="navod.html"')) fail('quelt-kontrola.html has no link to navod.html');
}

async function checkPage(page, engine) {
  await page.goto(urlOf('quelt-kontrola.html'));
  const head = await page.evaluate(() => {
    const campaign = document.querySelector('#campaign');
    const note = document.querySelector('#campaign-note');
    const version = document.querySelector('.version');
    return {
      label: campaign ? campaign.textContent : '',
      samples: campaign ? campaign.dataset.samples : null,
      note: note ? note.textContent : '',
      version: version ? version.textContent : '',
    };
  });
  if (!head.label.includes(label)) fail(`${engine}: the page does not show the label "${label}" (it shows "${head.label}")`);
  if (head.samples !== samples) fail(`${engine}: the page's sample registers are "${head.samples}", not "${samples}"`);
  if (samples !== '' && !samples.split(' ').every((code) => head.note.includes(code)))
    fail(`${engine}: the page's note on sample registers does not name ${samples}: "${head.note}"`);
  if (!head.version.includes(version)) fail(`${engine}: the page does not show the version "${version}"`);
  const violations = await page.axe();
  if (violations.length > 0) fail(`${engine}: quelt-kontrola.html: axe: ${summary(violations)}`);

  await page.upload('input#files', [join(folder, 'priklad.xml')]);
  await page.click('button#run');
  // The example takes a second; a loaded machine, some more.
  await page.waitFor(() => !['idle', 'running'].includes(document.querySelector('#state').dataset.state), 60000);
  const result = await page.evaluate(() => ({
    state: document.querySelector('#state').dataset.state,
    why: `${document.querySelector('#state').textContent} ${document.querySelector('#failure-text').textContent}`.trim(),
    e: document.querySelector('#totals').dataset.e,
    w: document.querySelector('#totals').dataset.w,
    codes: [...document.querySelectorAll('table#findings tr[data-code]')].map((tr) => tr.dataset.code),
  }));
  if (result.state !== 'done') {
    fail(`${engine}: the check of priklad.xml ended ${result.state}: ${result.why}`);
    return;
  }
  const found = result.codes.filter((code) => REGISTER_CODES.includes(code));
  if (found.length > 0) fail(`${engine}: the example gets ${found.join(', ')}: the page does not carry the folder's registers`);
  console.log(`${engine}: quelt-kontrola.html from disk checked priklad.xml: E ${result.e}, W ${result.w}, ` +
    `findings ${result.codes.join(' ') || 'none'}`);
}

// The outline of what the Tab key reaches first, or null when nothing is.
const focusOutline = (page) => page.evaluate(() => {
  const at = document.activeElement;
  if (at === null || at === document.body) return null;
  const style = getComputedStyle(at);
  return {tag: at.tagName, style: style.outlineStyle, width: parseFloat(style.outlineWidth)};
});

async function checkDocument(page, engine, name) {
  await page.setViewport(1280, 900);
  await page.goto(urlOf(name));
  const wide = await page.axe();
  if (wide.length > 0) fail(`${engine}: ${name}: axe: ${summary(wide)}`);
  await page.press('Tab');
  const outline = await focusOutline(page);
  if (outline === null || outline.style === 'none' || !(outline.width >= 2))
    fail(`${engine}: ${name}: the first Tab stop shows no visible focus (${JSON.stringify(outline)})`);
  await page.setViewport(400, 800);
  const narrow = await page.axe();
  if (narrow.length > 0) fail(`${engine}: ${name} at 400 px: axe: ${summary(narrow)}`);
  const widths = await page.evaluate(() => ({page: document.documentElement.scrollWidth, window: innerWidth}));
  if (widths.page > widths.window) fail(`${engine}: ${name} at 400 px scrolls sideways (${widths.page} > ${widths.window})`);
  console.log(`${engine}: ${name}: axe clean wide and at 400 px, focus visible, no sideways scrolling`);
}

// Every step of the browsers is bounded by the driver layer (its BOUNDS),
// a check of the example by the time it needs: a step that gets no answer
// fails saying what it waited for, and the next engine is checked.
brokenLinks();
for (const engine of chosenEngines()) {
  let browser;
  try {
    browser = await launch(engine);
    const page = await browser.newPage();
    await checkPage(page, engine);
    for (const name of ['navod.html', 'kody.html']) await checkDocument(page, engine, name);
    await page.close();
  } catch (e) {
    fail(`${engine}: ${e.message}`);
  } finally {
    if (browser) await browser.close().catch((e) => fail(`${engine}: ${e.message}`));
  }
}
if (failures.length > 0) {
  console.error(`The unpacked release failed ${failures.length} check(s).`);
  process.exit(1);
}
console.log(`The unpacked release passed its checks in ${chosenEngines().join(', ')}.`);
