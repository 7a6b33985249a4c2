// The one place where the page leans on Emscripten's internals: everything
// the worker (worker.js) needs of the module beyond Emscripten's documented
// file system calls, as five plain functions on the module object. Built in
// as the page's module's --pre-js (cmake/web.cmake), so this code runs inside
// the module's own scope, where the internals live.
//
// What it relies on, true of Emscripten 3.1.6 (Debian's), the one version
// the page has been tested with; cmake/web.cmake stops a build with another:
// - createWasm() hands Module.instantiateWasm one import object under both
//   module names (imports.env is imports.wasi_snapshot_preview1), holding
//   the C library's read of a file descriptor as fd_read(fd, iov, iovcnt,
//   pnum), iov being iovcnt pairs of 32-bit address and length;
// - Module.asm is the instance's exports, main among them unwrapped (in the
//   plain build), which JSPI's WebAssembly.promising needs;
// - SYSCALLS.getStr(ptr) turns every path the C library passes into text;
// - FS.getStream(fd) gives a stream's node and position, and a file system's
//   stream_ops.read(stream, buffer, offset, length, position) serves reads of
//   its files; FS.ErrnoError(29) is EIO;
// - Asyncify (present in the Asyncify build only): state, State.Rewinding,
//   handleSleep, handleAsync, currData and whenDone, as its own library code
//   uses them;
// - stackSave, stackAlloc, stackRestore and HEAPU8 in the module's scope.
// A later Emscripten renamed or reshaped several of these (Module.asm became
// wasmExports, the import object wasmImports); the page's browser test fails
// on any of them, and this file is where to look.

// The module's options the worker gives: quelt_module, the compiled
// WebAssembly; quelt_failed(error), told of a failure the module would only
// log before waiting for ever.

// The build made with Asyncify carries its runtime; the plain build, used
// where the browser can suspend WebAssembly (JSPI), does not.
const queltAsyncify = () => typeof Asyncify !== 'undefined';

// The inputs: mounted node -> index in the run's files; the worker's hooks.
const queltInputs = new Map();
let queltServe = null;   // (file, position, length) -> bytes at position (at most length)
let queltWait = null;    // (file, position, length) -> promise of the bytes' arrival, or null

// Before a read of a descriptor: the wait for an input's blocks, or null.
function queltWaitFor(fd, iov, iovcnt) {
  const stream = FS.getStream(fd);
  const file = stream ? queltInputs.get(stream.node) : undefined;
  if (file === undefined || queltWait === null) return null;
  let length = 0;
  for (let i = 0; i < iovcnt; ++i) length += HEAPU32[(iov >> 2) + 2 * i + 1];
  return queltWait(file, stream.position, Math.min(length, stream.node.size - stream.position));
}

// The C library's read, made to wait for the page's blocks: suspended by
// JSPI in the plain build; in the Asyncify build unwound, and called again as
// the stack is rewound, when that call returns the read's result. A read that
// fails past its own errors would leave the checker unwound for good: the
// worker hears of it instead.
function queltWaitingRead(syncRead) {
  if (!queltAsyncify()) {
    return new WebAssembly.Suspending((fd, iov, iovcnt, pnum) => {
      const wait = queltWaitFor(fd, iov, iovcnt);
      return wait === null ? syncRead(fd, iov, iovcnt, pnum) : wait.then(() => syncRead(fd, iov, iovcnt, pnum));
    });
  }
  return (fd, iov, iovcnt, pnum) => {
    if (Asyncify.state === Asyncify.State.Rewinding) return Asyncify.handleSleep(() => {});
    const wait = queltWaitFor(fd, iov, iovcnt);
    if (wait === null) return syncRead(fd, iov, iovcnt, pnum);
    return Asyncify.handleAsync(() => wait.then(() => syncRead(fd, iov, iovcnt, pnum)).catch((e) => {
      Module['quelt_failed'](e);
      return 29;
    }));
  };
}

Module['instantiateWasm'] = (imports, receive) => {
  try {
    const all = imports.env;
    all.fd_read = queltWaitingRead(all.fd_read);
    const module = Module['quelt_module'];
    WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module), Module['quelt_failed']);
  } catch (e) {
    Module['quelt_failed'](e);
  }
  return {};
};

// File names: the checker gets every name as Windows-1250 bytes, as on a
// Czech Windows, so its report head shows them as quelt.exe would. The module
// would read a path's bytes as UTF-8; here each byte becomes the character of
// that code (0-255), and the worker mounts every file under its name written
// that way, so the checker's fopen finds it.
Module['preRun'] = [() => {
  SYSCALLS.getStr = (ptr) => {
    let text = '';
    for (let p = ptr; HEAPU8[p] !== 0; ++p) text += String.fromCharCode(HEAPU8[p]);
    return text;
  };
}];

// Mounts the run's files [{name, blob}] read-only in folder (Emscripten's
// WORKERFS), their reads served by serve(file, position, length), which
// returns the bytes from position on (at most length, at least one) or
// throws for a file that cannot be read (an input error for the checker);
// wait(file, position, length) is asked before every read of one of them.
Module['mountInputs'] = (folder, files, serve, wait) => {
  queltServe = serve;
  queltWait = wait;
  const WORKERFS = FS.filesystems.WORKERFS;
  WORKERFS.stream_ops.read = (stream, buffer, offset, length, position) => {
    const file = queltInputs.get(stream.node);
    let n = 0;
    while (n < length && position + n < stream.node.size) {
      let bytes;
      try {
        bytes = queltServe(file, position + n, length - n);
      } catch {
        throw new FS.ErrnoError(29);
      }
      if (bytes.length === 0) throw new FS.ErrnoError(29);
      buffer.set(bytes, offset + n);
      n += bytes.length;
    }
    return n;
  };
  FS.mkdir(folder);
  FS.mount(WORKERFS, {blobs: files.map((f) => ({name: f.name, data: f.blob}))}, folder);
  files.forEach((f, i) => queltInputs.set(FS.lookupPath(`${folder}/${f.name}`).node, i));
};

// Calls the checker's main with the arguments (each its bytes) as a command
// line gives them, on the stack; resolves to its exit status once the run
// has ended, however often it waited.
Module['runMain'] = async (args) => {
  const top = stackSave();
  try {
    const argv = stackAlloc(4 * (args.length + 1));
    const pointers = args.map((bytes) => {
      const at = stackAlloc(bytes.length + 1);
      HEAPU8.set(bytes, at);
      HEAPU8[at + bytes.length] = 0;
      return at;
    });
    HEAPU32.set([...pointers, 0], argv >> 2);
    if (!queltAsyncify()) return await WebAssembly.promising(Module['asm']['main'])(args.length, argv);
    const status = Module['_main'](args.length, argv);
    return Asyncify.currData ? await Asyncify.whenDone() : status;
  } finally {
    stackRestore(top);
  }
};
