// A script of the web page (web/*.js, written for the browser as a plain
// script that defines one global object) loaded into Node: for the build's
// tools that write what the page writes (the same text safety in the page
// and around it), and for the tests of the page's rules without a browser.
import {readFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';
import vm from 'node:vm';

const web = join(dirname(fileURLToPath(import.meta.url)), '..', 'web');

// The global object that web/<file> defines, e.g. pageScript('text_safety.js', 'TextSafety').
export function pageScript(file, global) {
  const source = readFileSync(join(web, file), 'utf8');
  return vm.runInNewContext(`${source}\n${global}`, {encodeURIComponent, TextDecoder});
}

// A page's template with its placeholders (@NAME@) filled in one pass, so
// that no value is searched for placeholders again; a placeholder missing
// from the template is an error of the build.
export function fillTemplate(template, values, what) {
  for (const key of Object.keys(values))
    if (!template.includes(key)) throw new Error(`${what} has no ${key}`);
  return template.replace(/@[A-Z]+@/g, (key) => (Object.hasOwn(values, key) ? values[key] : key));
}
