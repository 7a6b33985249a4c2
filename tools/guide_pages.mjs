// Makes the guide and the list of finding codes of a release as pages that
// any browser opens from disk: navod.html from docs/navod.md and kody.html
// from the table the catalogue prints (kody.md). Debian's cmark-gfm turns
// the Markdown into HTML (tables included; raw HTML in the source is refused,
// so a page holds only what Markdown can say), and docs/stranka.html wraps it:
// Czech, the release's version and label, links between the guide, the codes
// and the checking page, the style of docs/stranka.css, and a policy that
// allows no script and no connection at all.
//
//   node tools/guide_pages.mjs OUT DATA NAVOD.md KODY.md
// OUT: the folder the two pages go to; DATA: the data folder whose label
// (kampan.txt) the pages show.
import {spawnSync} from 'node:child_process';
import {createHash} from 'node:crypto';
import {readFileSync, writeFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';
import {CampaignError, readLabel} from './campaign.mjs';
import {fillTemplate, pageScript} from './page_scripts.mjs';
import {releaseVersion} from './version.mjs';

const docs = join(dirname(fileURLToPath(import.meta.url)), '..', 'docs');

// The files of a release a page links to, in the order the menu shows them.
const MENU = [
  ['quelt-kontrola.html', 'Kontrola v prohlížeči'],
  ['navod.html', 'Návod'],
  ['kody.html', 'Kódy nálezů'],
];

class GuideError extends Error {}

const {html: escapeHtml} = pageScript('text_safety.js', 'TextSafety');

// The Markdown as HTML, through cmark-gfm with GitHub's tables.
function markdownToHtml(path) {
  const run = spawnSync('cmark-gfm', ['--validate-utf8', '--extension', 'table', '--extension', 'autolink', path],
    {encoding: 'utf8'});
  if (run.error) throw new GuideError(`cmark-gfm cannot be run (${run.error.message}): install Debian's cmark-gfm`);
  if (run.status !== 0) throw new GuideError(`cmark-gfm failed on ${path}: ${run.stderr}`);
  if (run.stdout.includes('<!-- raw HTML omitted -->'))
    throw new GuideError(`${path} holds raw HTML, which a page of the release does not take: write it in Markdown`);
  return run.stdout;
}

// Links between the sources (navod.md, kody.md) lead to their pages; header
// cells name their column for screen readers.
function adjust(html) {
  return html
    .replace(/href="([A-Za-z0-9_-]+)\.md(#[^"]*)?"/g, (_, name, anchor) => `href="${name}.html${anchor ?? ''}"`)
    .replace(/<th(?=[ >])/g, '<th scope="col"');
}

// The text of the page's first heading, its title.
function titleOf(html, path) {
  const h1 = html.match(/<h1>([\s\S]*?)<\/h1>/);
  if (!h1) throw new GuideError(`${path} has no heading of level 1 for the page's title`);
  return h1[1].replace(/<[^>]*>/g, '');
}

function menu(current) {
  return MENU.map(([file, text]) => file === current
    ? `      <li><a href="${file}" aria-current="page">${text}</a></li>`
    : `      <li><a href="${file}">${text}</a></li>`).join('\n');
}

function fill(template, values) {
  try {
    return fillTemplate(template, values, 'docs/stranka.html');
  } catch (e) {
    throw new GuideError(e.message);
  }
}

// Every row of the list of codes is the anchor of its code (kody.html#EL031),
// where the checking page's finding leads: the table's rows whose first cell
// is a finding code.
const anchorCodes = (html) => html.replace(/<tr>\n<td>([EW][A-Z0-9]{4})<\/td>/g, '<tr id="$1">\n<td>$1</td>');

function page(source, file, label, version) {
  const style = readFileSync(join(docs, 'stranka.css'), 'utf8');
  const hash = `'sha256-${createHash('sha256').update(style, 'utf8').digest('base64')}'`;
  const html = adjust(markdownToHtml(source));
  const body = file === 'kody.html' ? anchorCodes(html) : html;
  return fill(readFileSync(join(docs, 'stranka.html'), 'utf8'), {
    '@CSP@': `default-src 'none'; style-src ${hash}; img-src data:; base-uri 'none'; form-action 'none'`,
    '@TITLE@': `${titleOf(body, source)} – ${escapeHtml(version)}`,
    '@STYLE@': style,
    '@NAV@': menu(file),
    '@VERSION@': escapeHtml(version),
    '@LABEL@': escapeHtml(label),
    '@BODY@': body.trimEnd(),
  });
}

function main([out, data, navod, kody]) {
  if (!kody) throw new GuideError('usage: node tools/guide_pages.mjs OUT DATA NAVOD.md KODY.md');
  const label = readLabel(data);
  const version = releaseVersion().text;
  writeFileSync(join(out, 'navod.html'), page(navod, 'navod.html', label, version));
  writeFileSync(join(out, 'kody.html'), page(kody, 'kody.html', label, version));
}

try {
  main(process.argv.slice(2));
} catch (e) {
  if (!(e instanceof GuideError) && !(e instanceof CampaignError) && e.code !== 'ENOENT') throw e;
  console.error(e.message);
  process.exit(1);
}
