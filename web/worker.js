// The page's worker: runs one check with the checker compiled to WebAssembly.
// It is started from a blob: address with the Emscripten loader (createQuelt)
// before this code, gets one job, and is ended by the page afterwards or to
// cancel the check; every check gets a fresh worker.
//
// The chosen files are mounted read-only where they lie (WORKERFS), so no file
// is held in memory whole. The run's current folder is that mount, so the
// report head shows the bare names; the report, the output copy and the list
// file go to a writable folder of a short name without a dot.
//
// How the checker's reads of the files are served:
// - where the browser can suspend WebAssembly while a promise settles (its
//   JavaScript-promise integration, JSPI), the page reads the files in its own
//   thread a few blocks ahead of the checker and sends the blocks here, so
//   reading and checking overlap: the 246 MB benchmark file took 1.40 s so
//   against 1.56 s read block by block (medians of 12 runs, headless Chromium
//   156 on two cores, where the browser's reading itself keeps both busy);
// - elsewhere each block is read when the checker asks for it, with the
//   browser's synchronous file reader.
'use strict';

const EIO = 29;

const canSuspend = typeof WebAssembly.Suspending === 'function' && typeof WebAssembly.promising === 'function';

// ---- Blocks of the chosen files ----

// Every browser read costs a round trip, so the checker's reads of a chosen
// file are served from blocks of blockSize bytes: blocks the page has read
// ahead, or else a block read here when the checker needs it. A file that
// the browser can no longer read (moved, deleted, changed on disk) is an
// input error for the checker, which then reports that it cannot read the
// file and ends with status 13, instead of the run breaking off.
let blockSize = 0;
const files = new Map();     // mounted file node -> its index in the job's files
const arrived = new Map();   // "file:k" -> the page's block (null: unreadable)
const awaited = new Map();   // "file:k" -> resolves the wait for it
let last = null;             // the block read from last: {node, k, bytes}

const blockKey = (file, k) => `${file}:${k}`;

function onBlock({file, k, bytes, failed}) {
  const key = blockKey(file, k);
  arrived.set(key, failed ? null : new Uint8Array(bytes));
  if (awaited.has(key)) {
    awaited.get(key)();
    awaited.delete(key);
  }
}

function blockOf(FS, node, k) {
  if (last !== null && last.node === node && last.k === k) return last.bytes;
  const key = blockKey(files.get(node), k);
  let bytes;
  if (arrived.has(key)) {
    bytes = arrived.get(key);
    arrived.delete(key);
  } else {
    try {
      bytes = new Uint8Array(new FileReaderSync().readAsArrayBuffer(node.contents.slice(k * blockSize, (k + 1) * blockSize)));
    } catch (e) {
      bytes = null;
    }
  }
  if (bytes === null) throw new FS.ErrnoError(EIO);
  last = {node, k, bytes};
  return bytes;
}

// The file system's read of a chosen file, from its blocks.
function readFromBlocks(FS) {
  FS.filesystems.WORKERFS.stream_ops.read = (stream, buffer, offset, length, position) => {
    const node = stream.node;
    let n = 0;
    while (n < length && position + n < node.size) {
      const k = Math.floor((position + n) / blockSize);
      const bytes = blockOf(FS, node, k);
      const from = position + n - k * blockSize;
      const part = Math.min(length - n, bytes.length - from);
      if (part <= 0) throw new FS.ErrnoError(EIO);  // the file is shorter than when it was chosen
      buffer.set(bytes.subarray(from, from + part), offset + n);
      n += part;
    }
    return n;
  };
}

// ---- Reading ahead, where the checker can wait ----

const READ_AHEAD = 2;  // blocks asked of the page beyond the one being read
const asked = new Set();

function ask(file, k, blocks) {
  const key = blockKey(file, k);
  if (k >= blocks || asked.has(key)) return;
  asked.add(key);
  postMessage({type: 'read', file, k});
}

// The C library's read of a file descriptor (readv: iovcnt buffers at iov).
// For a chosen file it asks the page for the blocks from the read's position
// on, and when one that the read needs has not come yet, returns the promise
// of the read once it has: only then is the checker suspended. The read
// itself is the usual one.
function readAhead(module, syncRead) {
  return (fd, iov, iovcnt, pnum) => {
    const Module = module();
    const stream = Module.FS.getStream(fd);
    const file = stream ? files.get(stream.node) : undefined;
    if (file === undefined) return syncRead(fd, iov, iovcnt, pnum);
    const size = stream.node.size;
    const blocks = Math.ceil(size / blockSize);
    const lengths = new Int32Array(Module.HEAPU8.buffer, iov, 2 * iovcnt).filter((_, i) => i % 2 === 1);
    const end = Math.min(size, stream.position + lengths.reduce((sum, n) => sum + n, 0));
    const first = Math.floor(stream.position / blockSize);
    for (let k = first; k <= first + READ_AHEAD; ++k) ask(file, k, blocks);
    const waits = [];
    for (let k = first; k * blockSize < end; ++k) {
      const key = blockKey(file, k);
      const have = arrived.has(key) || (last !== null && last.node === stream.node && last.k === k);
      if (!have) waits.push(new Promise((resolve) => awaited.set(key, resolve)));
    }
    if (waits.length === 0) return syncRead(fd, iov, iovcnt, pnum);
    return Promise.all(waits).then(() => syncRead(fd, iov, iovcnt, pnum));
  };
}

// ---- The run ----

function screenOf(Module) {
  const at = Module._quelt_obrazovka();
  return Module.HEAPU8.slice(at, at + Module._quelt_obrazovka_delka());
}

// The checker's main through the promise integration: the same arguments as
// callMain gives it, on the stack.
async function callMainSuspending(Module, args) {
  const main = WebAssembly.promising(Module.asm.main);
  const all = ['quelt', ...args];
  const top = Module.stackSave();
  const argv = Module.stackAlloc(4 * (all.length + 1));
  const pointers = all.map((a) => Module.allocateUTF8OnStack(a));
  new Int32Array(Module.HEAPU8.buffer, argv, all.length + 1).set([...pointers, 0]);
  try {
    return await main(all.length, argv);
  } finally {
    Module.stackRestore(top);
  }
}

// job: {module: WebAssembly.Module, files: [{name, blob}], folder, list,
//       args, outputs: [path], blockSize}
async function runJob(job) {
  blockSize = job.blockSize;
  let lastProgress = -Infinity;
  let Module = null;
  Module = await createQuelt({
    instantiateWasm(imports, receive) {
      if (canSuspend) {
        // The loader's imports are one object, whatever module names the
        // WebAssembly asks them under.
        const all = imports.env;
        all.fd_read = new WebAssembly.Suspending(readAhead(() => Module, all.fd_read));
      }
      WebAssembly.instantiate(job.module, imports).then((instance) => receive(instance, job.module));
      return {};
    },
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
  readFromBlocks(FS);
  FS.mkdir('/data');
  FS.mount(FS.filesystems.WORKERFS, {blobs: job.files.map((f) => ({name: f.name, data: f.blob}))}, '/data');
  job.files.forEach((f, i) => files.set(FS.lookupPath(`/data/${f.name}`).node, i));
  FS.mkdir(job.folder);
  if (job.list !== null) FS.writeFile(job.list.path, job.list.text);
  FS.chdir('/data');

  const status = canSuspend ? await callMainSuspending(Module, job.args) : Module.callMain(job.args);
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
  postMessage({type: 'done', status, screen, outputs}, transfer);
}

self.onmessage = ({data}) => {
  if (data.type === 'block') return onBlock(data);
  runJob(data).catch((e) => postMessage({type: 'error', message: String(e && e.message || e)}));
};
