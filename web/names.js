// Names and arguments of a check in the page: the name under which each
// chosen file is shown to the checker, and the command line the run gets.
//
// The report head shows the names the clerk chose, so a file is mounted under
// its own name whenever the checker can take it as it is. It cannot when the
// name is longer than a file name argument may be (60 bytes), when white
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
  const encoder = new TextEncoder();

  // White space as the list reader splits on it.
  const LIST_SPACE = /[ \t\n\v\f\r]/;

  function problem(name, taken, asList) {
    if (encoder.encode(name).length > MAX_NAME_BYTES)
      return 'jméno je delší než 60 znaků (písmeno s diakritikou se počítá za dva)';
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
  // {file, name, reason}; reason is null when the file keeps its own name.
  function assign(files) {
    const asList = files.length > 1;
    const taken = new Set();
    const entries = files.map((file) => {
      const reason = problem(file.name, taken, asList);
      if (reason === null) taken.add(file.name);
      return {file, name: reason === null ? file.name : null, reason};
    });
    entries.forEach((entry, i) => {
      if (entry.name === null) {
        entry.name = substitute(i + 1, taken);
        taken.add(entry.name);
      }
    });
    return entries;
  }

  // The command line of a run, as `quelt` would get it in the files' folder:
  // one file by its name, several through a list file. report and copy are
  // the outputs' bare names (copy null for none).
  function commandLine(entries, report, copy, skipW) {
    const asList = entries.length > 1;
    const args = [asList ? '@' + LIST_PATH : entries[0].name, OUTPUT_FOLDER + '/' + report];
    if (copy !== null) args.push(OUTPUT_FOLDER + '/' + copy);
    if (skipW) args.push('-w');
    const list = asList ? {path: LIST_PATH, text: entries.map((e) => e.name).join('\n') + '\n'} : null;
    return {args, list, folder: OUTPUT_FOLDER};
  }

  return {assign, commandLine, OUTPUT_FOLDER};
})();
