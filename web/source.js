// Lines of the checked files around a finding, numbered as the checker
// numbers them: every line feed starts the next line, on across the files of
// a list. A file without a final line feed ends in a line that goes on in the
// next file's first line: both parts carry the same number and both are shown.
//
// The files stay on disk: an index of where every STEP-th line starts is
// made in one pass on the first request, and each request reads only from the
// nearest indexed line on.
'use strict';

const SourceLines = (() => {
  const STEP = 1024;
  const CHUNK = 8 << 20;
  const READ_CHUNK = 1 << 20;
  const MAX_SHOWN = 2000;  // bytes of one line shown; a longer line says so
  const decoder = new TextDecoder('windows-1250');
  const LF = 10;
  const CR = 13;

  // files: [{name, blob}] in the order of the check. Returns per file its
  // first line's number, its number of line feeds and the start of every
  // STEP-th line.
  async function index(files) {
    const out = [];
    let first = 1;
    for (const {name, blob} of files) {
      const marks = [0];
      let feeds = 0;
      for (let at = 0; at < blob.size; at += CHUNK) {
        const bytes = new Uint8Array(await blob.slice(at, at + CHUNK).arrayBuffer());
        for (let i = bytes.indexOf(LF); i >= 0; i = bytes.indexOf(LF, i + 1)) {
          ++feeds;
          if (feeds % STEP === 0) marks.push(at + i + 1);
        }
      }
      out.push({name, blob, first, feeds, marks});
      first += feeds;
    }
    return out;
  }

  // Local lines from..to (0-based, inclusive) of one file: [{k, bytes, cut}].
  async function readLocal(file, from, to) {
    const lines = [];
    const mark = Math.floor(from / STEP);
    let k = mark * STEP;  // local number of the line being read
    let at = file.marks[mark];
    let kept = [];
    let length = 0;  // bytes of the line, carriage returns left out
    const take = (bytes, start, end) => {
      for (let p = start; p < end && length <= MAX_SHOWN; ++p) {
        if (bytes[p] === CR) continue;
        if (++length <= MAX_SHOWN) kept.push(bytes[p]);
      }
    };
    const finish = () => {
      if (k >= from) lines.push({k, bytes: Uint8Array.from(kept), cut: length > MAX_SHOWN});
      kept = [];
      length = 0;
      ++k;
    };
    while (k <= to && at < file.blob.size) {
      const bytes = new Uint8Array(await file.blob.slice(at, at + READ_CHUNK).arrayBuffer());
      for (let i = 0; i < bytes.length && k <= to;) {
        const feed = bytes.indexOf(LF, i);
        const end = feed < 0 ? bytes.length : feed;
        if (k >= from) take(bytes, i, end);
        if (feed < 0) break;
        finish();
        i = feed + 1;
      }
      at += bytes.length;
    }
    // The part after the last line feed is a line when it holds anything.
    if (k >= from && k <= to && k === file.feeds && length > 0) finish();
    return lines;
  }

  // Lines line-radius .. line+radius: [{number, parts: [{file, text, cut}]}].
  async function around(files, line, radius) {
    const from = Math.max(1, line - radius);
    const to = line + radius;
    const numbered = new Map();
    for (const file of files) {
      const last = file.first + file.feeds;
      if (last < from || file.first > to) continue;
      const a = Math.max(from, file.first) - file.first;
      const b = Math.min(to, last) - file.first;
      for (const local of await readLocal(file, a, b)) {
        const number = file.first + local.k;
        if (!numbered.has(number)) numbered.set(number, []);
        numbered.get(number).push({file: file.name, text: decoder.decode(local.bytes), cut: local.cut});
      }
    }
    return [...numbered.entries()].sort((x, y) => x[0] - y[0]).map(([number, parts]) => ({number, parts}));
  }

  return {index, around};
})();
