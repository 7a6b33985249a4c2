// Inside the page's checker module (Emscripten's --post-js: this code runs in
// the module's own scope, where its file system calls and Asyncify live).
//
// File names: the checker gets every name as Windows-1250 bytes, as on a
// Czech Windows, so its report head shows them as quelt.exe would. The module
// would read a path's bytes as UTF-8; here each byte becomes the character of
// that code (0-255), and the page mounts every file under its name written
// that way, so the checker's fopen finds it.
SYSCALLS.getStr = function (ptr) {
  let text = '';
  for (let p = ptr; HEAPU8[p] !== 0; ++p) text += String.fromCharCode(HEAPU8[p]);
  return text;
};

// The module built with Asyncify hands it to the worker, which waits for the
// page's blocks through it where the browser cannot suspend WebAssembly.
Module['Asyncify'] = typeof Asyncify !== 'undefined' ? Asyncify : null;
