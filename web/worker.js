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

// ---- Blocks read ahead by the page ----

// Blocks the page has sent and the promises of blocks still to come, by
// file and block number.
const arrived = new Map();
const awaited = new Map();
let blockSize = 0;
const READ_AHEAD = 2;  // blocks asked for beyond the one being read

function blockKey(file, k) {
  return `${file}:${k}`;
}

function onBlock({file, k, bytes, failed}) {
  const key = blockKey(file, k);
  const block = failed ? null : new Uint8Array(bytes);
  if (awaited.has(key)) {
    awaited.get(key)(block);
    awaited.delete(key);
  } else {
    arrived.set(key, block);
  }
}

const asked = new Set();

function ask(file, k, blocks) {
  const key = blockKey(file, k);
  if (k >= blocks || asked.has(key)) return;
  asked.add(key);
  postMessage({type: 'read', file, k});
}

// The block k of a file: null when the page could not read it.
function block(file, k, blocks) {
  for (let ahead = 0; ahead <= READ_AHEAD; ++ahead) ask(file, k + ahead, blocks);
  const key = blockKey(file, k);
  if (arrived.has(key)) {
    const b = arrived.get(key);
    arrived.delete(key);
    return Promise.resolve(b);
  }
  return new Promise((resolve) => awaited.set(key, resolve));
}

// The C library's read of a file descriptor (readv with iovcnt buffers, the
// count read stored at pnum), for the chosen files; every other descriptor
// (the list file) goes to the usual read. Returns 0 or an errno, or, while a
// block is still on its way, the promise of it: only then is the checker
// suspended.
function readAheadFdRead(module, files, syncRead) {
  const current = new WeakMap();  // open file -> {k, bytes}: the block being read
  return (fd, iov, iovcnt, pnum) => {
    const Module = module();
    const stream = Module.FS.getStream(fd);
    const file = stream && stream.node ? files.get(stream.node) : undefined;
    if (file === undefined) return syncRead(fd, iov, iovcnt, pnum);
    const size = stream.node.size;
    const blocks = Math.ceil(size / blockSize);
    let i = 0;      // the buffer being filled
    let done = 0;   // bytes of it filled
    let total = 0;  // bytes read
    // Copies what the blocks at hand give; returns the block number missing,
    // -1 when the read is complete, or EIO's negative.
    const copy = () => {
      for (; i < iovcnt; ++i, done = 0) {
        const [at, length] = new Int32Array(Module.HEAPU8.buffer, iov + 8 * i, 2);
        while (done < length && stream.position < size) {
          const k = Math.floor(stream.position / blockSize);
          const c = current.get(stream);
          if (c === undefined || c.k !== k) return k;
          const from = stream.position - k * blockSize;
          const n = Math.min(length - done, c.bytes.length - from);
          if (n <= 0) return -EIO;  // the file is shorter than when it was chosen
          Module.HEAPU8.set(c.bytes.subarray(from, from + n), at + done);
          done += n;
          total += n;
          stream.position += n;
        }
      }
      new Int32Array(Module.HEAPU8.buffer, pnum, 1)[0] = total;
      return -1;
    };
    const missing = copy();
    if (missing === -1) return 0;
    if (missing < -1) return EIO;
    return (async () => {
      let k = missing;
      for (; k >= 0; k = copy()) {
        const bytes = await block(file, k, blocks);
        if (bytes === null) return EIO;
        current.set(stream, {k, bytes});
      }
      return k === -1 ? 0 : EIO;
    })();
  };
}

// ---- Blocks read when the checker asks ----

// Every browser read costs a round trip, so the file is read in blocks of
// blockSize, each kept for the checker's reads that fall into it. A file that
// the browser can no longer read (moved, deleted, changed on disk) is an
// input error for the checker, which then reports that it cannot read the
// file and ends with status 13, instead of the run breaking off.
function readFromBrowser(FS) {
  const reader = new FileReaderSync();
  let c = null;  // the block read last: {node, k, bytes}
  FS.filesystems.WORKERFS.stream_ops.read = (stream, buffer, offset, length, position) => {
    const node = stream.node;
    let n = 0;
    while (n < length && position + n < node.size) {
      const k = Math.floor((position + n) / blockSize);
      if (c === null || c.node !== node || c.k !== k) {
        c = null;
        try {
          c = {node, k, bytes: new Uint8Array(reader.readAsArrayBuffer(node.contents.slice(k * blockSize, (k + 1) * blockSize)))};
        } catch (e) {
          throw new FS.ErrnoError(EIO);
        }
      }
      const from = position + n - k * blockSize;
      const part = Math.min(length - n, c.bytes.length - from);
      if (part <= 0) throw new FS.ErrnoError(EIO);  // the file is shorter than when it was chosen
      buffer.set(c.bytes.subarray(from, from + part), offset + n);
      n += part;
    }
    return n;
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
  const files = new Map();  // mounted file node -> its index in job.files
  let Module = null;
  Module = await createQuelt({
    instantiateWasm(imports, receive) {
      if (canSuspend) {
        // The loader's imports are one object, whatever module names the
        // WebAssembly asks them under.
        const all = imports.env;
        all.fd_read = new WebAssembly.Suspending(readAheadFdRead(() => Module, files, all.fd_read));
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
  readFromBrowser(FS);
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
