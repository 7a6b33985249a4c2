// Names and arguments of a check in the page: the name under which each
// chosen file is shown to the checker, the command line the run gets, and
// the names its downloads are saved under.
//
// The checker gets every name as its Windows-1250 bytes, as quelt.exe gets it
// on a Czech Windows, so that the report head shows the name the clerk chose.
// A file is mounted under its own name whenever the checker can take it as it
// is. It cannot when the name has a character that Windows-1250 cannot write,
// when it is longer than a file name argument may be (60 bytes), when white
// space would split it into two words of the list, when an earlier file of
// the same check has that name, or when the checker would read it as a
// switch or a list ("-", "@") or as the list's end marker ("..."). Such a
// file is mounted under a short substitute name, which the page then shows
// next to the result.
'use strict';

const RunNames = (() => {
  const MAX_NAME_BYTES = 60;
  // Writable folder of the outputs: short, and without a dot, since the
  // report's format is read after the first dot of its path.
  const OUTPUT_FOLDER = '/vysledky';
  const LIST_PATH = OUTPUT_FOLDER + '/seznam';

  // Windows-1250 as the browser's own decoder reads it: each character's byte.
  const CP1250 = (() => {
    const decoder = new TextDecoder('windows-1250');
    const bytes = new Map();
    for (let b = 1; b < 256; ++b) bytes.set(decoder.decode(Uint8Array.of(b)), b);
    return bytes;
  })();

  // The name in Windows-1250, one character a byte, or null when one of its
  // characters has no byte there. A name is composed first: a system may
  // hand over "č" as "c" and a combining caron.
  function windows1250(name) {
    let out = '';
    for (const c of name.normalize('NFC')) {
      const b = CP1250.get(c);
      if (b === undefined) return null;
      out += String.fromCharCode(b);
    }
    return out;
  }

  // A text of the page's own as Windows-1250 bytes, for a file the clerk
  // downloads: a character that has no byte there becomes '?'.
  function encode(text) {
    const out = [];
    for (const c of text.normalize('NFC')) out.push(CP1250.get(c) ?? 0x3F);
    return Uint8Array.from(out);
  }

  // White space as the list reader splits on it.
  const LIST_SPACE = /[ \t\n\v\f\r]/;

  // name: the name in Windows-1250, null when it cannot be written so.
  function problem(name, taken, asList) {
    if (name === null) return 'jméno obsahuje znak, který kódování Windows-1250 neumí zapsat';
    if (name.length > MAX_NAME_BYTES) return 'jméno je delší než 60 znaků';
    if (LIST_SPACE.test(name)) return 'jméno obsahuje mezeru';
    if (taken.has(name)) return 'stejné jméno má jiný soubor této kontroly';
    if (!asList && (name.startsWith('-') || name.startsWith('@')))
      return 'program by jméno začínající znakem „-“ nebo „@“ četl jako přepínač nebo seznam';
    if (asList && name === '...') return 'jméno „...“ by seznam souborů ukončilo';
    return null;
  }

  function substitute(position, taken) {
    let name = `vstup${position}.xml`;
    for (let k = 2; taken.has(name); ++k) name = `vstup${position}-${k}.xml`;
    return name;
  }

  // files: File objects in the order of the check. Returns one entry a file:
  // {file, name, bytes, reason}: the name the checker shows, as the page
  // writes it and in Windows-1250 (one character a byte); reason is null when
  // the file keeps its own name.
  function assign(files) {
    const asList = files.length > 1;
    const taken = new Set();
    const entries = files.map((file) => {
      const bytes = windows1250(file.name);
      const reason = problem(bytes, taken, asList);
      if (reason === null) taken.add(bytes);
      return {file, name: reason === null ? file.name : null, bytes: reason === null ? bytes : null, reason};
    });
    entries.forEach((entry, i) => {
      if (entry.name === null) {
        entry.name = entry.bytes = substitute(i + 1, taken);
        taken.add(entry.bytes);
      }
    });
    return entries;
  }

  // The command line of a run, as `quelt` would get it in the files' folder:
  // one file by its name, several through a list file, in Windows-1250.
  // report and copy are the outputs' bare names (copy null for none).
  function commandLine(entries, report, copy, skipW) {
    const asList = entries.length > 1;
    const args = [asList ? '@' + LIST_PATH : entries[0].bytes, OUTPUT_FOLDER + '/' + report];
    if (copy !== null) args.push(OUTPUT_FOLDER + '/' + copy);
    if (skipW) args.push('-w');
    const list = asList ? {path: LIST_PATH, text: entries.map((e) => e.bytes).join('\n') + '\n'} : null;
    return {args, list, folder: OUTPUT_FOLDER};
  }

  // The names the downloads of a check are saved under, after the checked
  // file (the first of a list): mzdy-cerven.xml gives mzdy-cerven-kontrola.htm
  // (.txt, .csv, .xml) and mzdy-cerven-kopie.xml. A download never takes the
  // name of a file of the check (letter case aside, as Windows compares
  // names): the suffix is numbered then.
  const REPORT_KINDS = ['htm', 'txt', 'csv', 'xml'];

  function downloadNames(files) {
    const first = files[0].name;
    const dot = first.lastIndexOf('.');
    const base = dot > 0 ? first.slice(0, dot) : first;
    const checked = new Set(files.map((f) => f.name.toLowerCase()));
    const clear = (names) => Object.values(names).every((n) => !checked.has(n.toLowerCase()));
    for (let k = 1; ; ++k) {
      const n = k === 1 ? '' : `-${k}`;
      const names = {copy: `${base}-kopie${n}.xml`};
      for (const kind of REPORT_KINDS) names[kind] = `${base}-kontrola${n}.${kind}`;
      if (clear(names)) return names;
    }
  }

  return {assign, commandLine, encode, downloadNames};
})();
