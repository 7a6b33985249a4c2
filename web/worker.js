// The page's worker: runs one check with the checker compiled to WebAssembly.
// It is started from a blob: address with the Emscripten loader (createQuelt)
// before this code, gets one job, and is ended by the page afterwards or to
// cancel the check; every check gets a fresh worker.
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
// the block is there. The page chooses the build by that feature.
//
// The run's current folder is the files' mount, so the report head shows the
// bare names; the report, the output copy and the list file go to a writable
// folder of a short name without a dot.
'use strict';

const EIO = 29;

// ---- Blocks of the chosen files ----

// The checker's reads of a chosen file are served from blocks of blockSize
// bytes. A file that the browser can no longer read (moved, deleted, changed
// on disk) comes as a failed block: an input error for the checker, which
// then reports that it cannot read the file and ends with status 13.
let blockSize = 0;
const files = new Map();     // mounted file node -> its index in the job's files
const arrived = new Map();   // "file:k" -> the page's block (null: unreadable)
const awaited = new Map();   // "file:k" -> resolves the wait for it
let last = null;             // the block read from last: {node, k, bytes}

const blockKey = (file, k) => `${file}:${k}`;
const isLast = (node, k) => last !== null && last.node === node && last.k === k;

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
function blockOf(FS, node, k) {
  if (isLast(node, k)) return last.bytes;
  const key = blockKey(files.get(node), k);
  const bytes = arrived.has(key) ? arrived.get(key) : null;
  arrived.delete(key);
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

// ---- Reading ahead ----

const READ_AHEAD = 2;  // blocks asked of the page beyond the one being read
const asked = new Set();

function ask(file, k, blocks) {
  const key = blockKey(file, k);
  if (k >= blocks || asked.has(key)) return;
  asked.add(key);
  postMessage({type: 'read', file, k});
}

// Before the C library's read of a file descriptor (readv: iovcnt buffers at
// iov): for a chosen file, asks the page for the blocks the read needs and
// READ_AHEAD more, and returns the promise of the blocks the read needs that
// have not come yet, or null when it can go on at once.
function blocksAwaited(Module, fd, iov, iovcnt) {
  const stream = Module.FS.getStream(fd);
  const file = stream ? files.get(stream.node) : undefined;
  if (file === undefined) return null;
  const size = stream.node.size;
  const blocks = Math.ceil(size / blockSize);
  const lengths = new Int32Array(Module.HEAPU8.buffer, iov, 2 * iovcnt).filter((_, i) => i % 2 === 1);
  const end = Math.min(size, stream.position + lengths.reduce((sum, n) => sum + n, 0));
  const first = Math.floor(stream.position / blockSize);
  const needed = Math.max(first, Math.ceil(end / blockSize) - 1);  // the last block the read needs
  for (let k = first; k <= needed + READ_AHEAD; ++k) ask(file, k, blocks);
  const waits = [];
  for (let k = first; k * blockSize < end; ++k) {
    const key = blockKey(file, k);
    if (!arrived.has(key) && !isLast(stream.node, k)) waits.push(new Promise((resolve) => awaited.set(key, resolve)));
  }
  return waits.length === 0 ? null : Promise.all(waits);
}

// The read import under JSPI: a promise suspends the checker until it settles.
function suspendingRead(module, syncRead) {
  return new WebAssembly.Suspending((fd, iov, iovcnt, pnum) => {
    const wait = blocksAwaited(module(), fd, iov, iovcnt);
    return wait === null ? syncRead(fd, iov, iovcnt, pnum) : wait.then(() => syncRead(fd, iov, iovcnt, pnum));
  });
}

// The read import of the Asyncify build: a wait unwinds the checker, and the
// same call, made again as its stack is rewound, returns the read's result.
function asyncifyRead(module, syncRead) {
  return (fd, iov, iovcnt, pnum) => {
    const Module = module();
    const A = Module.Asyncify;
    if (A.state === A.State.Rewinding) return A.handleSleep(() => {});
    const wait = blocksAwaited(Module, fd, iov, iovcnt);
    if (wait === null) return syncRead(fd, iov, iovcnt, pnum);
    // A read that fails past its own errors would leave the checker unwound
    // for good: the page hears of it and ends the worker instead.
    return A.handleAsync(() => wait.then(() => syncRead(fd, iov, iovcnt, pnum)).catch((e) => {
      reportError(e);
      return EIO;
    }));
  };
}

// ---- The run ----

function screenOf(Module) {
  const at = Module._quelt_obrazovka();
  return Module.HEAPU8.slice(at, at + Module._quelt_obrazovka_delka());
}

// Bytes of a text whose characters are bytes (0-255): the names and the list
// in Windows-1250, as the page wrote them.
const bytesOf = (text) => Uint8Array.from(text, (c) => c.charCodeAt(0));

// Calls the checker's main with the arguments as a command line gives them,
// on the stack; resolves to its exit status once the run has ended.
async function callMain(Module, args, suspending) {
  const all = ['quelt', ...args].map(bytesOf);
  const top = Module.stackSave();
  const argv = Module.stackAlloc(4 * (all.length + 1));
  const pointers = all.map((bytes) => {
    const at = Module.stackAlloc(bytes.length + 1);
    Module.HEAPU8.set(bytes, at);
    Module.HEAPU8[at + bytes.length] = 0;
    return at;
  });
  new Int32Array(Module.HEAPU8.buffer, argv, all.length + 1).set([...pointers, 0]);
  try {
    if (suspending) return await WebAssembly.promising(Module.asm.main)(all.length, argv);
    const status = Module._main(all.length, argv);
    return Module.Asyncify.currData ? await Module.Asyncify.whenDone() : status;
  } finally {
    Module.stackRestore(top);
  }
}

// job: {module: WebAssembly.Module, suspending: JSPI (else Asyncify),
//       files: [{name, blob}], folder, list: {path, text} or null, args,
//       outputs: [path], blockSize}. Names, arguments and the list's text
//       are Windows-1250 bytes, one character a byte.
async function runJob(job) {
  blockSize = job.blockSize;
  let lastProgress = -Infinity;
  let Module = null;
  Module = await createQuelt({
    instantiateWasm(imports, receive) {
      // The loader's imports are one object, whatever module names the
      // WebAssembly asks them under. The loader would only log a failure
      // here and wait for ever: the page hears of it instead.
      try {
        const all = imports.env;
        all.fd_read = (job.suspending ? suspendingRead : asyncifyRead)(() => Module, all.fd_read);
        WebAssembly.instantiate(job.module, imports).then((instance) => receive(instance, job.module), reportError);
      } catch (e) {
        reportError(e);
      }
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
  if (job.list !== null) FS.writeFile(job.list.path, bytesOf(job.list.text));
  FS.chdir('/data');

  const status = await callMain(Module, job.args, job.suspending);
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
  runJob(data).catch(reportError);
};
