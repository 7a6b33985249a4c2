// The version of a release as a person can quote it, and its form for file
// names. The office sets it with QUELT_VERSION (for example "2010.1"); else a
// tag of the commit tells it (git describe: "v2010.1", or "v2010.1-3-gabc1234"
// three commits after the tag); a commit that no tag precedes says plainly
// that it is an unmarked build, with its short hash. tools/assemble-web.mjs shows it
// on the page, tools/guide_pages.mjs in the guide, scripts/pack-release.sh in
// the archive's name. The page is built long before it is packed (a tag may
// come between), so the packing reads back the version the page shows and
// refuses a page whose version is not the archive's.
//
//   node tools/version.mjs text         the version for people ("neoznačené sestavení 67b1c5d")
//   node tools/version.mjs ascii        its form for a file name ("neoznacene-67b1c5d")
//   node tools/version.mjs page FILE    the version the page FILE shows
import {execFileSync} from 'node:child_process';
import {readFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

const ROOT = join(dirname(fileURLToPath(import.meta.url)), '..');

// git's answer, or null where there is no git or no such thing.
function git(...args) {
  try {
    return execFileSync('git', ['-C', ROOT, ...args], {encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore']}).trim();
  } catch {
    return null;
  }
}

// Letters, digits, dots and dashes: every other run of characters one dash.
const fileNameForm = (text) => text.normalize('NFD').replace(/\p{M}/gu, '')
  .replace(/[^A-Za-z0-9.]+/g, '-').replace(/^[-.]+|[-.]+$/g, '');

// {text, ascii}: the release's version for people and for file names.
export function releaseVersion(env = process.env) {
  const given = (env.QUELT_VERSION ?? '').trim();
  if (given !== '') {
    if (/[\u0000-\u001f\u007f]/.test(given) || fileNameForm(given) === '')
      throw new Error(`QUELT_VERSION "${given}" must be one line with a letter or digit`);
    return {text: given, ascii: fileNameForm(given)};
  }
  const tagged = git('describe', '--tags', '--match', 'v[0-9]*', '--dirty=-upraveno');
  if (tagged) return {text: tagged, ascii: fileNameForm(tagged)};
  const hash = git('rev-parse', '--short=7', 'HEAD');
  if (!hash) return {text: 'neoznačené sestavení bez údaje o verzi', ascii: 'neoznacene'};
  const dirty = git('status', '--porcelain', '--untracked-files=no');
  const changed = dirty ? ' s neuloženými změnami' : '';
  return {text: `neoznačené sestavení ${hash}${changed}`, ascii: `neoznacene-${hash}${dirty ? '-upraveno' : ''}`};
}

// The text of HTML's character references: by name, as tools/assemble-web.mjs
// escapes the version (web/text_safety.js), and by number, as any other HTML
// writer might.
const NAMED = {amp: '&', lt: '<', gt: '>', quot: '"', apos: "'"};
const unescapeHtml = (text) => text.replace(/&(#x[0-9a-f]+|#[0-9]+|[a-z]+);/gi, (whole, ref) => {
  if (ref[0] !== '#') return NAMED[ref.toLowerCase()] ?? whole;
  return String.fromCodePoint(ref[1] === 'x' || ref[1] === 'X' ? parseInt(ref.slice(2), 16) : Number(ref.slice(1)));
});

// The version a page shows under its title ("Verze: …", then in the single
// file " · " and the link to the guide), or null when it shows none.
export function pageVersion(html) {
  const shown = html.match(/<p class="version">\s*Verze:\s*([^<]*)/);
  if (!shown) return null;
  return unescapeHtml(shown[1]).replace(/\s*·\s*$/, '').trim();
}

function main(what, file) {
  if (what === 'page' && file !== undefined) {
    const version = pageVersion(readFileSync(file, 'utf8'));
    if (version === null) throw new Error(`${file} shows no version (no <p class="version">Verze: …)`);
    return version;
  }
  if ((what === 'text' || what === 'ascii') && file === undefined) return releaseVersion()[what];
  console.error('usage: node tools/version.mjs text|ascii|page FILE');
  process.exit(2);
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  try {
    console.log(main(process.argv[2], process.argv[3]));
  } catch (e) {
    console.error(e.message);
    process.exit(1);
  }
}
