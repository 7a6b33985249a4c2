// The checker in the page: its WebAssembly module, compiled once, and the
// code of its worker (the Emscripten loader and worker.js). The page carries
// both inside itself (base64), served or opened from disk alike, so it asks
// for nothing, and a page opened from disk may not read other files. Every
// run gets a fresh worker started from a blob: address, which a page opened
// from disk may start where a worker file would fail.
//
// The page carries two builds of the module. Where the browser can suspend
// WebAssembly while a promise settles (JSPI), the plain build waits for the
// input's blocks that way; elsewhere the Asyncify build waits by unwinding
// its own stack. Either way this thread reads the files
// and sends the blocks to the worker.
'use strict';

const Engine = (() => {
  let loaded = null;

  // The one feature that chooses the build.
  const suspending = typeof WebAssembly.Suspending === 'function' && typeof WebAssembly.promising === 'function';

  function fromBase64(text) {
    const binary = atob(text.trim());
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  const inline = (id) => fromBase64(document.getElementById(id).textContent);

  function load() {
    if (loaded === null) {
      const build = suspending ? 'quelt-engine' : 'quelt-engine-asyncify';
      loaded = WebAssembly.compile(inline(`${build}-wasm`)).then((module) => ({
        url: URL.createObjectURL(new Blob([inline(`${build}-code`)], {type: 'text/javascript'})),
        module,
      }));
      loaded.catch(() => { loaded = null; });
    }
    return loaded;
  }

  // The blocks of a run's files, each read once: start() begins reading
  // block k of a file, take() gives the promise of its bytes (of null when
  // the file cannot be read any more: a failed block, which the checker
  // reports as a read error). The worker asks for each block once.
  function blockReader(files, size) {
    const started = new Map();
    const start = (file, k) => {
      const key = `${file}:${k}`;
      if (!started.has(key))
        started.set(key, files[file].blob.slice(k * size, (k + 1) * size).arrayBuffer().catch(() => null));
      return key;
    };
    const take = (file, k) => {
      const key = start(file, k);
      const bytes = started.get(key);
      started.delete(key);
      return bytes;
    };
    return {start, take};
  }

  async function sendBlock(worker, blocks, {file, k}) {
    const bytes = await blocks.take(file, k);
    if (bytes === null) worker.postMessage({type: 'block', file, k, failed: true});
    else worker.postMessage({type: 'block', file, k, bytes}, [bytes]);
  }

  // Runs one check. job: {files: [{name, blob}], args, list, folder,
  // outputs: [path]}, names, arguments and list in Windows-1250 (one
  // character a byte). onProgress(bytes) follows the reading. Returns
  // {done: Promise of {status, screen, outputs, verdict, overview}, cancel()}:
  // the run's verdict and what it read of the submission (worker.js).
  function run(job, onProgress) {
    let worker = null;
    let settle = null;
    let cancelled = false;
    const done = new Promise((resolve, reject) => {
      settle = {resolve, reject};
    });
    const blockSize = engine.blockSize;
    // The first block is read at once, while the worker starts: the checker
    // asks for it first thing.
    const blocks = blockReader(job.files, blockSize);
    if (job.files.length > 0 && job.files[0].blob.size > 0) blocks.start(0, 0);
    load().then(({url, module}) => {
      if (cancelled) return;
      worker = new Worker(url);
      worker.onmessage = ({data}) => {
        if (data.type === 'progress') return onProgress(data.bytes);
        if (data.type === 'read') return sendBlock(worker, blocks, data);
        worker.terminate();
        if (data.type === 'done') settle.resolve(data);
        else settle.reject(new Error(data.message));
      };
      worker.onerror = (event) => {
        worker.terminate();
        settle.reject(new Error(event.message || 'chyba v kontrolním programu'));
      };
      worker.postMessage({module, blockSize, ...job});
    }, (e) => settle.reject(e));
    const cancel = () => {
      cancelled = true;
      if (worker !== null) worker.terminate();
      settle.reject(new Cancelled());
    };
    return {done, cancel};
  }

  class Cancelled extends Error {}

  // blockSize: the bytes of a block the page reads for the worker. A test
  // makes it small, to put the ends of blocks everywhere in the input.
  const engine = {load, run, Cancelled, blockSize: 16 << 20};
  return engine;
})();
