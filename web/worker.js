// The page's worker: runs one check with the checker compiled to WebAssembly.
// It is started from a blob: address with the Emscripten loader (createQuelt,
// with emscripten.js built in: the module's functions used here beside its
// documented file system) before this code, gets one job, and is ended by the
// page afterwards or to cancel the check; every check gets a fresh worker.
//
// The chosen files are mounted read-only under their names (WORKERFS), but
// their bytes come from the page: the page reads each file in blocks a few
// ahead of the checker and sends them here. A worker may not be able to read
// the chosen files at all (WebKit's, in a page opened from disk), while the
// page's own thread always can; and reading ahead keeps the reading and the
// checking going at the same time. When the checker's read needs a block
// that has not come yet, the checker waits for it: suspended by the browser's
// JavaScript-promise integration (JSPI) where it has one, or else by the
// Asyncify build of the module, which unwinds its stack and rewinds it when
// the block is there (emscripten.js). The page chooses the build by that
// feature.
//
// The run's current folder is the files' mount, so the report head shows the
// bare names; the report, the output copy and the list file go to a writable
// folder of a short name without a dot.
'use strict';

// ---- Blocks of the chosen files ----

// The checker's reads of a chosen file are served from blocks of blockSize
// bytes. A file that the browser can no longer read (moved, deleted, changed
// on disk) comes as a failed block: an input error for the checker, which
// then reports that it cannot read the file and ends with status 13.
let blockSize = 0;
let sizes = [];              // the job's files' sizes
const arrived = new Map();   // "file:k" -> the page's block (null: unreadable)
const awaited = new Map();   // "file:k" -> resolves the wait for it
let last = null;             // the block read from last: {file, k, bytes}

const blockKey = (file, k) => `${file}:${k}`;
const isLast = (file, k) => last !== null && last.file === file && last.k === k;

// A failure of the worker's own, for the page, which then ends the worker.
const reportError = (e) => postMessage({type: 'error', message: String(e && e.message || e)});

function onBlock({file, k, bytes, failed}) {
  const key = blockKey(file, k);
  arrived.set(key, failed ? null : new Uint8Array(bytes));
  if (awaited.has(key)) {
    awaited.get(key)();
    awaited.delete(key);
  }
}

// A block the read needs has always arrived (the read waited for it), so a
// missing one is as unreadable as a failed one.
function blockOf(file, k) {
  if (isLast(file, k)) return last.bytes;
  const key = blockKey(file, k);
  const bytes = arrived.has(key) ? arrived.get(key) : null;
  arrived.delete(key);
  if (bytes === null) throw new Error('unreadable');
  last = {file, k, bytes};
  return bytes;
}

// A read of a chosen file: the bytes from position on in its block. A block
// shorter than the file promised (it changed since it was chosen) gives none.
function serve(file, position, length) {
  const k = Math.floor(position / blockSize);
  const from = position - k * blockSize;
  return blockOf(file, k).subarray(from, from + length);
}

// ---- Reading ahead ----

const READ_AHEAD = 2;  // blocks asked of the page beyond the one being read
const asked = new Set();

function ask(file, k, blocks) {
  const key = blockKey(file, k);
  if (k >= blocks || asked.has(key)) return;
  asked.add(key);
  postMessage({type: 'read', file, k});
}

// Before the checker reads length bytes of a chosen file at position: asks
// the page for the blocks the read needs and READ_AHEAD more, and returns the
// promise of the blocks the read needs that have not come yet, or null when
// it can go on at once.
function blocksAwaited(file, position, length) {
  const blocks = Math.ceil(sizes[file] / blockSize);
  const end = position + length;
  const first = Math.floor(position / blockSize);
  const needed = Math.max(first, Math.ceil(end / blockSize) - 1);  // the last block the read needs
  for (let k = first; k <= needed + READ_AHEAD; ++k) ask(file, k, blocks);
  const waits = [];
  for (let k = first; k * blockSize < end; ++k) {
    const key = blockKey(file, k);
    if (!arrived.has(key) && !isLast(file, k)) waits.push(new Promise((resolve) => awaited.set(key, resolve)));
  }
  return waits.length === 0 ? null : Promise.all(waits);
}

// ---- The run ----

function screenOf(Module) {
  const at = Module._quelt_obrazovka();
  return Module.HEAPU8.slice(at, at + Module._quelt_obrazovka_delka());
}

// A JSON text (UTF-8, ended by a zero byte) that the module returned.
function jsonAt(Module, at) {
  const end = Module.HEAPU8.indexOf(0, at);
  return JSON.parse(new TextDecoder().decode(Module.HEAPU8.subarray(at, end)));
}

// Bytes of a text whose characters are bytes (0-255): the names and the list
// in Windows-1250, as the page wrote them.
const bytesOf = (text) => Uint8Array.from(text, (c) => c.charCodeAt(0));

// job: {module: WebAssembly.Module (the build for this browser), files:
//       [{name, blob}], folder, list: {path, text} or null, args,
//       outputs: [path], blockSize}. Names, arguments and the list's text
//       are Windows-1250 bytes, one character a byte.
async function runJob(job) {
  blockSize = job.blockSize;
  sizes = job.files.map((f) => f.blob.size);
  let lastProgress = -Infinity;
  const Module = await createQuelt({
    quelt_module: job.module,
    quelt_failed: reportError,
    onRead(bytes) {
      // The checker reports every 1 MB block; the page's bar needs no more
      // than a report every 50 ms.
      const now = performance.now();
      if (now - lastProgress < 50) return;
      lastProgress = now;
      postMessage({type: 'progress', bytes});
    },
    print() {},
    printErr() {},
  });
  const FS = Module.FS;
  Module.mountInputs('/data', job.files, serve, blocksAwaited);
  FS.mkdir(job.folder);
  if (job.list !== null) FS.writeFile(job.list.path, bytesOf(job.list.text));
  FS.chdir('/data');

  const status = await Module.runMain(['quelt', ...job.args].map(bytesOf));
  const outputs = {};
  const transfer = [];
  for (const path of job.outputs) {
    if (FS.analyzePath(path).exists) {
      outputs[path] = FS.readFile(path);
      transfer.push(outputs[path].buffer);
    }
  }
  const screen = screenOf(Module);
  transfer.push(screen.buffer);
  // The run's verdict and what it read of the submission, in the checker's words.
  const verdict = jsonAt(Module, Module._quelt_verdikt(status));
  const overview = jsonAt(Module, Module._quelt_prehled());
  postMessage({type: 'done', status, screen, outputs, verdict, overview}, transfer);
}

self.onmessage = ({data}) => {
  if (data.type === 'block') return onBlock(data);
  runJob(data).catch(reportError);
};
