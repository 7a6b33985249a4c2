// The page's worker: runs one check with the checker compiled to WebAssembly.
// It is started from a blob: address with the Emscripten loader (createQuelt)
// before this code, gets one job, and is ended by the page afterwards or to
// cancel the check; every check gets a fresh worker.
//
// The chosen files are mounted read-only where they lie (WORKERFS): the
// checker reads them in large blocks as it asks for them, so no file is held
// in memory whole. The run's current folder is that mount, so the report head
// shows the bare names; the report, the output copy and the list file go to a
// writable folder of a short name without a dot.
'use strict';

const EIO = 29;

// Reads of the chosen files. A file that the browser can no longer read
// (moved, deleted, changed on disk) is an input error for the checker, which
// then reports that it cannot read the file and ends with status 13, instead
// of the run breaking off. A read of no bytes (the C library asks for one
// with every block) returns at once instead of costing a browser read.
function readFromBrowser(FS) {
  const ops = FS.filesystems.WORKERFS.stream_ops;
  const read = ops.read;
  ops.read = function (stream, buffer, offset, length, position) {
    if (length === 0) return 0;
    try {
      return read.call(this, stream, buffer, offset, length, position);
    } catch (e) {
      if (e instanceof FS.ErrnoError) throw e;
      throw new FS.ErrnoError(EIO);
    }
  };
}

function screenOf(Module) {
  const at = Module._quelt_obrazovka();
  return Module.HEAPU8.slice(at, at + Module._quelt_obrazovka_delka());
}

// job: {module: WebAssembly.Module, files: [{name, blob}], folder, list,
//       args, outputs: [path]}
async function runJob(job) {
  const Module = await createQuelt({
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(job.module, imports).then((instance) => receive(instance, job.module));
      return {};
    },
    onRead(bytes) {
      postMessage({type: 'progress', bytes});
    },
    print() {},
    printErr() {},
  });
  const FS = Module.FS;
  readFromBrowser(FS);
  FS.mkdir('/data');
  FS.mount(FS.filesystems.WORKERFS, {blobs: job.files.map((f) => ({name: f.name, data: f.blob}))}, '/data');
  FS.mkdir(job.folder);
  if (job.list !== null) FS.writeFile(job.list.path, job.list.text);
  FS.chdir('/data');

  const status = Module.callMain(job.args);
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

self.onmessage = (event) => {
  runJob(event.data).catch((e) => postMessage({type: 'error', message: String(e && e.message || e)}));
};
