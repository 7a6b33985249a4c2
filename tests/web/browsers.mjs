// One small driver API for the three browser engines the page must work in,
// so that the page's browser test and its benchmark say each step once:
//   chromium  Debian's Chromium through puppeteer-core (the DevTools protocol)
//   firefox   Debian's Firefox ESR through puppeteer-core (WebDriver BiDi)
//   webkit    Debian's WebKitGTK MiniBrowser through WebKitWebDriver, spoken to
//             here as W3C WebDriver over HTTP; it needs an X display (xvfb-run,
//             whose server must not reset: scripts/packages.sh, run_with_browsers)
//
//   const browser = await launch('firefox');
//   const page = await browser.newPage();
//   await page.goto(url); await page.upload('input#files', [path]); ...
//   await page.close(); await browser.close();
//
// A page: goto(url), upload(selector, paths), click(selector),
// evaluate(fn, ...args), evaluateWithin(bound, fn, ...args) (a script that
// may take longer than BOUNDS.evaluate), waitFor(fn, ...args, timeout), press(key),
// setViewport(width, height), download(selector), errors(), requests(),
// axe(), close(). What an engine's driver cannot do it says in browser.can:
// there errors() and requests() give null instead of what the page logged
// and asked for.
//
// Downloads are caught where each browser saves them: Chromium where its
// DevTools protocol says, Firefox and WebKit in the folder their settings
// name (Firefox's preferences, MiniBrowser's XDG download folder). WebDriver
// has no console or network log: in WebKit errors() and requests() give null.
//
// Every step is bounded (BOUNDS): a step that gets no answer in its time
// fails saying what it waited for, long before a case's own bound runs out
// saying nothing. A browser, WebKit's driver or a WebKit session (its own
// MiniBrowser) that fails to start is started once more, as
// scripts/wine-run.sh does with wine.
//
// Variables: QUELT_BROWSERS (the engines a run uses, default all three),
// CHROMIUM, FIREFOX, WEBKIT_DRIVER, MINIBROWSER (the programs).
import {spawn} from 'node:child_process';
import {existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync} from 'node:fs';
import {rm} from 'node:fs/promises';
import {createRequire} from 'node:module';
import {createServer as createHttpServer} from 'node:http';
import {createServer} from 'node:net';
import {tmpdir} from 'node:os';
import {dirname, extname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const requireHere = createRequire(join(here, 'package.json'));

const ENGINES = ['chromium', 'firefox', 'webkit'];

// The engines QUELT_BROWSERS names (comma-separated), all three without it.
export function chosenEngines(text = process.env.QUELT_BROWSERS) {
  if (!text) return [...ENGINES];
  const names = text.split(',').map((s) => s.trim()).filter((s) => s !== '');
  for (const name of names)
    if (!ENGINES.includes(name)) throw new Error(`QUELT_BROWSERS: unknown engine "${name}" (known: ${ENGINES.join(', ')})`);
  return names;
}

// The accessibility rules the page is held to: WCAG 2.1 A and AA.
const AXE_TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'];

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// How long a step may take, in milliseconds: what it takes on a loaded
// two-core machine, several times over. A case's own wait (waitFor) says its
// bound itself.
export const BOUNDS = {
  start: 60000,      // a browser started (in WebKit: the driver, or a session's MiniBrowser)
  goto: 60000,       // a page loaded
  command: 30000,    // a click, keys, the files chosen, the window's size, a page closed
  evaluate: 60000,   // a function run in the page, its promise settled
  axe: 180000,       // axe-core's rules over the page (seconds in WebKit, more under load)
  download: 60000,   // a download saved
};

// The promise of a step, or when it has not settled in bound ms, an error
// saying what the step waited for. (The step itself may still end later; its
// result is then dropped.)
function within(bound, what, promise) {
  let timer;
  const expired = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: no answer in ${bound} ms`)), bound);
  });
  return Promise.race([promise, expired]).finally(() => clearTimeout(timer));
}

// The start of a browser or driver, made once more when it fails (a start
// that fails now and then on a loaded machine is not the page's fault); the
// second failure is the error, with the first one's.
async function startTwice(what, start) {
  try {
    return await start();
  } catch (first) {
    console.error(`${what} did not start (${first.message}); once more`);
    try {
      return await start();
    } catch (second) {
      throw new Error(`${what} did not start twice: ${second.message} (the first time: ${first.message})`);
    }
  }
}

// A function's source, short, for a message.
const shortly = (fn) => fn.toString().replace(/\s+/g, ' ').slice(0, 120);

// waitFor's last argument: how long it waits, in milliseconds, always said.
function timeoutOf(rest) {
  const timeout = rest.pop();
  if (typeof timeout !== 'number') throw new Error('waitFor(fn, ...args, timeout): the timeout in ms comes last');
  return timeout;
}

// ---- Downloads, shared by every engine: the browser saves into a folder ----

// The folder's files that a browser has finished writing: Chromium writes
// NAME.crdownload and Firefox NAME.part (beside an empty NAME) until done.
function finishedDownloads(dir) {
  const names = readdirSync(dir);
  if (names.some((n) => n.endsWith('.crdownload') || n.endsWith('.part'))) return [];
  return names;
}

// The size of a file, or null when it is gone (Firefox writes a download
// under a name of its own and renames it when done).
function sizeOf(path) {
  try {
    return statSync(path).size;
  } catch (e) {
    if (e.code === 'ENOENT') return null;
    throw e;
  }
}

// Clicks selector and returns the bytes of the one file that the click
// saves into dir, once it is the only file there and its name and size have
// stayed the same for 200 ms.
async function downloadInto(dir, click, selector, timeout = BOUNDS.download) {
  for (const name of readdirSync(dir)) rmSync(join(dir, name), {recursive: true, force: true});
  await click(selector);
  const end = Date.now() + timeout;
  let seen = null;
  let names = [];
  while (Date.now() < end) {
    names = finishedDownloads(dir);
    const size = names.length === 1 ? sizeOf(join(dir, names[0])) : null;
    if (size !== null && seen !== null && seen.name === names[0] && seen.size === size && size > 0)
      return readFileSync(join(dir, names[0]));
    seen = size === null ? null : {name: names[0], size};
    await sleep(200);
  }
  throw new Error(`download of ${selector}: no one file saved in ${timeout} ms (${names.join(', ') || 'none'})`);
}

// ---- axe-core, injected the same way into every engine ----

const axeSource = () => readFileSync(requireHere.resolve('axe-core/axe.min.js'), 'utf8');

// page.evaluateWithin(bound, fn, ...args): evaluate with a bound of its own.
async function runAxe(page, inject) {
  if (!await page.evaluate(() => typeof window.axe === 'object')) await inject(axeSource());
  return page.evaluateWithin(BOUNDS.axe, async (tags) => {
    const result = await window.axe.run(document, {runOnly: {type: 'tag', values: tags}, resultTypes: ['violations']});
    return result.violations;
  }, AXE_TAGS);
}

// ---- Chromium and Firefox: puppeteer-core ----

const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Firefox saves every download of the page's types into the folder at once,
// without asking and without opening its downloads panel.
const firefoxPrefs = (downloads) => ({
  'browser.download.dir': downloads,
  'browser.download.folderList': 2,
  'browser.download.useDownloadDir': true,
  'browser.helperApps.neverAsk.saveToDisk': 'text/csv,text/html,text/plain,text/xml,application/xml,application/octet-stream',
  'browser.download.always_ask_before_handling_new_types': false,
  'browser.download.alwaysOpenPanel': false,
  'browser.download.start_downloads_in_tmp_dir': false,
});

function puppeteerPage(engine, page, downloads) {
  const record = {errors: [], requests: []};
  page.on('request', (r) => record.requests.push(r.url()));
  page.on('console', (m) => { if (m.type() === 'error') record.errors.push(m.text()); });
  page.on('pageerror', (e) => record.errors.push(e.message));
  const bounded = (what, promise) => within(BOUNDS.command, `${engine}: ${what}`, promise);
  const click = (selector) => bounded(`click on ${selector}`, page.click(selector));
  const evaluateWithin = (bound, fn, ...args) =>
    within(bound, `${engine}: evaluate ${shortly(fn)}`, page.evaluate(fn, ...args));
  const self = {
    engine,
    goto: (url) => within(BOUNDS.goto + 5000, `${engine}: the page ${url} loaded`, page.goto(url, {timeout: BOUNDS.goto})),
    upload: (selector, paths) => bounded(`the files chosen in ${selector}`, (async () => {
      const input = await page.$(selector);
      if (input === null) throw new Error(`upload: no ${selector}`);
      await input.uploadFile(...paths);
    })()),
    click,
    evaluate: (fn, ...args) => evaluateWithin(BOUNDS.evaluate, fn, ...args),
    evaluateWithin,
    async waitFor(fn, ...rest) {
      const timeout = timeoutOf(rest);
      try {
        await within(timeout + 5000, 'waitFor', page.waitForFunction(fn, {timeout, polling: 50}, ...rest));
      } catch (e) {
        throw new Error(`${engine}: waitFor ${timeout} ms: ${shortly(fn)}: ${e.message}`);
      }
    },
    press: (key) => bounded(`the key ${key}`, press(key)),
    async setViewport(width, height) {
      await bounded(`the window's size ${width}×${height}`, page.setViewport({width, height}));
      return self.evaluate(() => ({width: innerWidth, height: innerHeight}));
    },
    download: (selector) => downloadInto(downloads, click, selector),
    errors: async () => record.errors,
    requests: async () => record.requests,
    axe: () => runAxe(self, (source) => self.evaluate(source)),
    close: () => bounded('the page closed', page.close()),
  };
  async function press(key) {
    const parts = key.split('+');
    // Firefox's driver knows the space bar only as ' ', and takes Enter
    // for the number pad's: the main one is WebDriver's Return key.
    let last = parts.pop();
    if (last === 'Space') last = ' ';
    if (last === 'Enter' && engine === 'firefox') last = '\uE006';
    for (const m of parts) await page.keyboard.down(m);
    await page.keyboard.press(last);
    for (const m of parts.reverse()) await page.keyboard.up(m);
  }
  return self;
}

async function launchPuppeteer(engine) {
  const puppeteer = requireHere('puppeteer-core');
  const downloads = mkdtempSync(join(tmpdir(), `quelt-${engine}-downloads-`));
  const options = engine === 'chromium'
    ? {browser: 'chrome', executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: CHROMIUM_ARGS}
    : {browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr', extraPrefsFirefox: firefoxPrefs(downloads)};
  const browser = await startTwice(engine, () => puppeteer.launch({headless: true, timeout: BOUNDS.start, ...options}));
  const bounded = (what, promise) => within(BOUNDS.command, `${engine}: ${what}`, promise);
  return {
    engine,
    version: await bounded('its version', browser.version()),
    can: {errors: true, requests: true, beforeLoad: true},
    // beforeLoad: a function run in every document of the page before its
    // own scripts.
    newPage: ({beforeLoad = null} = {}) => bounded('a new page', (async () => {
      const page = await browser.newPage();
      if (beforeLoad !== null) await page.evaluateOnNewDocument(beforeLoad);
      if (engine === 'chromium') {
        // Chromium saves downloads where its DevTools protocol says.
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
      }
      return puppeteerPage(engine, page, downloads);
    })()),
    // A browser that does not close in time is ended.
    async close() {
      try {
        await bounded('the browser closed', browser.close());
      } catch (e) {
        browser.process()?.kill('SIGKILL');
        throw e;
      } finally {
        rmSync(downloads, {recursive: true, force: true});
      }
    },
  };
}

// ---- WebKit: W3C WebDriver spoken to WebKitWebDriver ----

const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// WebDriver's codes of the keys the layer knows (Enter: the main one,
// WebDriver's Return; its Enter is the number pad's).
const WEBDRIVER_KEYS = {
  Tab: '\uE004', Enter: '\uE006', Shift: '\uE008', Control: '\uE009', Alt: '\uE00A', Escape: '\uE00C',
  Space: '\uE00D', PageUp: '\uE00E', PageDown: '\uE00F', End: '\uE010', Home: '\uE011',
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015', Backspace: '\uE003', Delete: '\uE017',
};

function webdriverKey(name) {
  if (WEBDRIVER_KEYS[name]) return WEBDRIVER_KEYS[name];
  if ([...name].length === 1) return name;
  throw new Error(`press: unknown key ${name}`);
}

// MiniBrowser runs with a home of its own: there it saves downloads (the
// XDG download folder), keeps its caches, and finds a GTK style that lets its
// toolbar's buttons shrink, so that its window can be as narrow as a phone's
// (the toolbar alone keeps it 447 px wide otherwise). The style applies to
// the browser's own widgets; WebKit draws the page's controls itself.
function webkitHome() {
  const home = mkdtempSync(join(tmpdir(), 'quelt-webkit-'));
  mkdirSync(join(home, '.config/gtk-3.0'), {recursive: true});
  mkdirSync(join(home, 'downloads'));
  writeFileSync(join(home, '.config/gtk-3.0/gtk.css'), '* { padding-left: 0; padding-right: 0; }\nentry { min-width: 0; }\n');
  writeFileSync(join(home, '.config/user-dirs.dirs'), `XDG_DOWNLOAD_DIR="${join(home, 'downloads')}"\n`);
  return home;
}

function freePort() {
  return new Promise((resolve, reject) => {
    const s = createServer();
    s.once('error', reject);
    s.listen(0, '127.0.0.1', () => {
      const {port} = s.address();
      s.close(() => resolve(port));
    });
  });
}

// One WebDriver command: the value of its answer, or an error that says
// which command failed and why; a command without an answer in bound ms
// fails saying what it waited for.
async function command(base, method, path, body, bound = BOUNDS.command, what = '') {
  const asked = `WebKitWebDriver ${method} ${path}${what ? ` (${what})` : ''}`;
  let response;
  let text;
  try {
    response = await fetch(base + path, {
      method,
      headers: {'Content-Type': 'application/json; charset=utf-8'},
      body: body === undefined ? undefined : JSON.stringify(body),
      signal: AbortSignal.timeout(bound),
    });
    text = await response.text();
  } catch (e) {
    throw new Error(`${asked}: ${e.name === 'TimeoutError' ? `no answer in ${bound} ms` : e.message}`);
  }
  let answer;
  try {
    answer = JSON.parse(text);
  } catch (e) {
    throw new Error(`${asked}: HTTP ${response.status}: ${text.slice(0, 200)}`);
  }
  if (!response.ok || (answer.value && answer.value.error)) {
    const v = answer.value || {};
    throw new Error(`${asked}: ${v.error}: ${v.message}`);
  }
  return answer.value;
}

// A function of the test run in the page, its promise awaited, its
// exception passed back: the script of an asynchronous execute.
function executeScript(fn) {
  return `const done = arguments[arguments.length - 1];
const args = Array.prototype.slice.call(arguments, 0, -1);
Promise.resolve().then(() => (${fn.toString()}).apply(null, args)).then(
  (value) => done({value: value === undefined ? null : value}),
  (e) => done({thrown: e instanceof Error ? e.name + ': ' + e.message + ' at ' + e.stack : String(e)}));`;
}

// call(method, path, body, bound, what): a command of the page's session.
function webkitPage(call, downloads) {
  const element = async (selector) => {
    const found = await call('POST', '/element', {using: 'css selector', value: selector}, BOUNDS.command, selector);
    return Object.values(found)[0];
  };
  const click = async (selector) => call('POST', `/element/${await element(selector)}/click`, {}, BOUNDS.command, `click on ${selector}`);
  const evaluateWithin = async (bound, fn, ...args) => {
    const result = await call('POST', '/execute/async', {script: executeScript(fn), args}, bound, `evaluate ${shortly(fn)}`);
    if (result.thrown !== undefined) throw new Error(`evaluate: ${result.thrown}`);
    return result.value;
  };
  const evaluate = (fn, ...args) => evaluateWithin(BOUNDS.evaluate, fn, ...args);
  const keys = async (values) => {
    const actions = [];
    for (const v of values) actions.push({type: 'keyDown', value: v});
    for (const v of [...values].reverse()) actions.push({type: 'keyUp', value: v});
    await call('POST', '/actions', {actions: [{type: 'key', id: 'keyboard', actions}]});
    await call('DELETE', '/actions');
  };
  const self = {
    engine: 'webkit',
    // The driver gives up on a load after BOUNDS.goto (its pageLoad timeout).
    goto: (url) => call('POST', '/url', {url}, BOUNDS.goto + 5000, `the page ${url} loaded`),
    // A file input of several files takes their paths one a line.
    upload: async (selector, paths) =>
      call('POST', `/element/${await element(selector)}/value`, {text: paths.join('\n')}, BOUNDS.command, `the files chosen in ${selector}`),
    click,
    evaluate,
    evaluateWithin,
    async waitFor(fn, ...rest) {
      const timeout = timeoutOf(rest);
      const end = Date.now() + timeout;
      const failed = (why) => new Error(`webkit: waitFor ${timeout} ms: ${shortly(fn)}: ${why}`);
      for (;;) {
        let met;
        try {
          met = await evaluateWithin(BOUNDS.command, fn, ...rest);
        } catch (e) {
          throw failed(e.message);
        }
        if (met) return;
        if (Date.now() > end) throw failed('timed out');
        await sleep(50);
      }
    },
    press: (key) => keys(key.split('+').map(webdriverKey)),
    // The window's size is the page's plus the browser's own toolbar (and
    // its downloads list, once there is one): the window is sized so that
    // the page gets what is asked, as far as the window can shrink.
    async setViewport(width, height) {
      const inner = () => evaluate(() => ({width: innerWidth, height: innerHeight}));
      let got = await inner();
      for (let i = 0; i < 3 && (got.width !== width || got.height !== height); ++i) {
        const rect = await call('GET', '/window/rect');
        await call('POST', '/window/rect', {width: rect.width + width - got.width, height: rect.height + height - got.height});
        got = await inner();
      }
      return got;
    },
    download: (selector) => downloadInto(downloads, click, selector),
    errors: async () => null,
    requests: async () => null,
    // WebDriver runs the script as a function body: axe's bundle sets
    // window.axe itself.
    axe: () => runAxe(self, (source) =>
      call('POST', '/execute/sync', {script: `${source}\nreturn null;`, args: []}, BOUNDS.evaluate, 'axe-core loaded')),
    close: () => call('DELETE', '', undefined, BOUNDS.command, 'the MiniBrowser closed'),
  };
  return self;
}

// The processes a process started (Linux).
function childrenOf(pid) {
  try {
    return readFileSync(`/proc/${pid}/task/${pid}/children`, 'utf8').trim().split(/\s+/).filter(Boolean).map(Number);
  } catch {
    return [];
  }
}

// WebKitWebDriver on a free port, answering: {base, mark(), since(mark),
// stop()}. since(mark()): what the driver and its browsers have written on
// standard error since the mark; stop() ends the driver and the MiniBrowsers
// it started (which would outlive it).
async function startDriver(home) {
  const port = await freePort();
  const driver = spawn(process.env.WEBKIT_DRIVER || 'WebKitWebDriver', [`--port=${port}`, '--host=local'], {
    stdio: ['ignore', 'ignore', 'pipe'],
    env: {...process.env, HOME: home, XDG_CONFIG_HOME: join(home, '.config'), XDG_CACHE_HOME: join(home, '.cache')},
  });
  let stderr = '';
  let dropped = 0;
  driver.stderr.on('data', (d) => {
    stderr += d;
    if (stderr.length > 20000) {
      dropped += stderr.length - 10000;
      stderr = stderr.slice(-10000);
    }
  });
  const mark = () => dropped + stderr.length;
  const since = (at) => stderr.slice(Math.max(0, at - dropped)).trim();
  const exited = new Promise((resolve) => driver.once('exit', resolve));
  const base = `http://127.0.0.1:${port}`;
  const stop = async () => {
    if (driver.exitCode === null && driver.signalCode === null) {
      for (const child of childrenOf(driver.pid)) {
        try {
          process.kill(child, 'SIGTERM');
        } catch {
          // ended already
        }
      }
      driver.kill();
    }
    await exited;
  };
  const ready = Date.now() + BOUNDS.start;
  for (;;) {
    try {
      await command(base, 'GET', '/status', undefined, 1000);
      return {base, stop, mark, since};
    } catch (e) {
      if (driver.exitCode !== null || Date.now() > ready) {
        const how = driver.exitCode !== null ? `ended (status ${driver.exitCode})` : `did not answer in ${BOUNDS.start} ms`;
        await stop();
        throw new Error(`WebKitWebDriver ${how}: ${since(0).slice(-2000) || e.message}`);
      }
      await sleep(100);
    }
  }
}

async function launchWebKit() {
  if (!process.env.DISPLAY)
    throw new Error('WebKit needs an X display: run the program under xvfb-run -a -s \'-screen 0 1280x1024x24 -noreset\' (Debian package xvfb)');
  const home = webkitHome();
  let driver;
  try {
    driver = await startTwice('WebKitWebDriver', () => startDriver(home));
  } catch (e) {
    rmSync(home, {recursive: true, force: true});
    throw e;
  }
  // A session is a MiniBrowser of its own. A MiniBrowser that ends as it
  // starts (one refused its X display) leaves WebKitWebDriver waiting for
  // it for ever: the session's start is bounded, and the second try gets a
  // fresh driver.
  const startSession = async (capabilities) => {
    const from = driver.mark();
    try {
      return await command(driver.base, 'POST', '/session', {capabilities}, BOUNDS.start, 'a MiniBrowser started');
    } catch (e) {
      const said = driver.since(from).slice(-1000);
      await driver.stop();
      driver = await startDriver(home);
      throw new Error(`${e.message}${said ? `; meanwhile the driver and browser said: ${said}` : ''}`);
    }
  };
  let version = '';
  return {
    engine: 'webkit',
    get version() { return version; },
    can: {errors: false, requests: false, beforeLoad: false},
    // Every page is a session of its own: a fresh MiniBrowser.
    async newPage({beforeLoad = null} = {}) {
      if (beforeLoad !== null) throw new Error('WebKit: WebDriver cannot run a script before the page\'s own');
      const session = await startTwice('WebKit: a MiniBrowser', () => startSession({alwaysMatch: {
        'webkitgtk:browserOptions': {binary: process.env.MINIBROWSER || MINIBROWSER, args: ['--automation']},
      }}));
      version = `MiniBrowser ${session.capabilities.browserVersion}`;
      const call = (method, path, body, bound, what) =>
        command(driver.base, method, `/session/${session.sessionId}${path}`, body, bound, what);
      // The driver's own bounds lie beyond the layer's, which say more.
      await call('POST', '/timeouts', {script: BOUNDS.axe + 10000, pageLoad: BOUNDS.goto});
      return webkitPage(call, join(home, 'downloads'));
    },
    // MiniBrowser's web and GPU processes end a moment after their window and
    // may still write their caches: the home is removed once they have.
    async close() {
      await driver.stop();
      try {
        await rm(home, {recursive: true, force: true, maxRetries: 20, retryDelay: 250});
      } catch (e) {
        console.error(`WebKit: could not remove ${home}: ${e.message}`);
      }
    },
  };
}

// A static web server on 127.0.0.1 for the given folders: a path is served
// from the first folder that holds it. Resolves to the server.
export function serveFolders(...folders) {
  const types = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm'};
  const find = (name) => folders.map((dir) => [resolve(dir), join(resolve(dir), name)])
    .find(([dir, path]) => path.startsWith(dir) && existsSync(path) && !statSync(path).isDirectory());
  return new Promise((ready) => {
    const server = createHttpServer((req, res) => {
      const found = find(decodeURIComponent(new URL(req.url, 'http://x').pathname));
      if (found === undefined) {
        res.writeHead(404).end();
        return;
      }
      res.writeHead(200, {'Content-Type': types[extname(found[1])] || 'application/octet-stream'});
      res.end(readFileSync(found[1]));
    });
    server.listen(0, '127.0.0.1', () => ready(server));
  });
}

// Starts the engine's browser: {engine, version, can, newPage(), close()}.
export async function launch(engine) {
  if (engine === 'chromium' || engine === 'firefox') return launchPuppeteer(engine);
  if (engine === 'webkit') return launchWebKit();
  throw new Error(`unknown engine ${engine}`);
}
