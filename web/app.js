// The page: choosing the files, running the check, and showing its result.
// Every judgement of the data is the checker's: the page hands it the files
// and the command line, and shows the run's verdict, the totals and the
// findings from what the run wrote, each finding with its explanation
// (explain.js), then the downloads and the console.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const decoder = new TextDecoder('windows-1250');
  const REPORT_TYPES = {
    htm: 'text/html; charset=windows-1250',
    txt: 'text/plain; charset=windows-1250',
    csv: 'text/csv; charset=windows-1250',
    xml: 'text/xml; charset=windows-1250',
    copy: 'text/xml; charset=windows-1250',
  };
  const COPY_NAME = 'kopie.xml';
  const OUTPUT_LINKS = '#downloads a[data-download], #downloads a[data-open]';
  const SOURCE_RADIUS = 3;

  let chosen = [];       // File objects in the order of the check
  let running = null;    // the check under way: {cancel}
  let check = null;      // the finished check whose result is shown
  let batch = null;      // the last check of files as separate submissions (batch.js)
  let findingsView = null;  // the rows of the findings table shown so far

  // ---- Choosing files ----

  function sizeText(bytes) {
    if (bytes < 1024) return `${bytes} B`;
    const units = ['kB', 'MB', 'GB'];
    let value = bytes / 1024;
    let unit = 0;
    while (value >= 1024 && unit < units.length - 1) { value /= 1024; ++unit; }
    return `${value.toLocaleString('cs-CZ', {maximumFractionDigits: 1})} ${units[unit]}`;
  }

  function button(text, label, onClick, disabled) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = text;
    b.title = label;
    b.setAttribute('aria-label', label);
    b.disabled = disabled;
    b.addEventListener('click', onClick);
    return b;
  }

  // The list is drawn anew after each change; the focus goes where the
  // keyboard user expects it: to the same button of the moved file, or when
  // that is disabled now, its other move button; after a removal, to the
  // removal of the file now in that place, or to the file chooser.
  function move(from, to, kind) {
    const [file] = chosen.splice(from, 1);
    chosen.splice(to, 0, file);
    showChosen();
    const [up, down] = $('file-list').children[to].querySelectorAll('button');
    const wanted = kind === 'up' ? up : down;
    (wanted.disabled ? (kind === 'up' ? down : up) : wanted).focus();
  }

  function remove(i) {
    chosen.splice(i, 1);
    showChosen();
    const items = $('file-list').children;
    if (items.length === 0) $('files').focus();
    else items[Math.min(i, items.length - 1)].querySelector('button.remove').focus();
  }

  function showChosen() {
    const list = $('file-list');
    list.textContent = '';
    chosen.forEach((file, i) => {
      const li = document.createElement('li');
      const name = document.createElement('span');
      name.className = 'name';
      name.textContent = file.name;
      const size = document.createElement('span');
      size.className = 'size';
      size.textContent = sizeText(file.size);
      const removal = button('✕', `Odebrat ${file.name}`, () => remove(i), false);
      removal.classList.add('remove');
      li.append(name, size,
        button('↑', `Posunout výš ${file.name}`, () => move(i, i - 1, 'up'), i === 0),
        button('↓', `Posunout níž ${file.name}`, () => move(i, i + 1, 'down'), i === chosen.length - 1),
        removal);
      list.appendChild(li);
    });
    showMode();
    $('run').disabled = chosen.length === 0 || running !== null;
    if (running === null && check === null && batch === null)
      setState('idle', chosen.length === 0 ? 'Vyberte datový soubor.' : 'Připraveno ke kontrole.');
  }

  // Several files are either separate submissions, each checked on its own
  // (batch.js), or the parts of one, checked as one list.
  const separately = () => chosen.length > 1 && document.querySelector('input[name="mode"]:checked').value === 'separate';

  function showMode() {
    const several = chosen.length > 1;
    $('mode').hidden = !several;
    $('list-hint').hidden = !several || separately();
    $('separate-hint').hidden = !separately();
  }

  function choose(files, add) {
    chosen = add ? chosen.concat([...files]) : [...files];
    showChosen();
  }

  // ---- State ----

  // Focus that stood on a control now hidden or disabled (Cancel when the
  // check ends, Run when it starts) would be lost to the page's start: it
  // moves to where the work goes on. Focus elsewhere stays where the user put it.
  function keepFocus(lostFrom, target) {
    const at = document.activeElement;
    if (at === null || at === document.body || lostFrom.includes(at)) target.focus();
  }

  // The state line is the page's one live region: when a check ends it also
  // says the verdict's first sentence (spoken; the verdict itself is shown
  // in the result), so that a screen reader hears the verdict once.
  function setState(state, text, spoken = '') {
    const el = $('state');
    el.dataset.state = state;
    el.textContent = text;
    if (spoken === '') return;
    const extra = document.createElement('span');
    extra.className = 'visually-hidden';
    extra.textContent = ` ${spoken}`;
    el.appendChild(extra);
  }

  // The Czech form of a noun after a count: 1 chyba, 2 až 4 chyby, 0 and 5
  // and more chyb.
  function czechPlural(n, one, few, many) {
    if (n === 1) return one;
    return n >= 2 && n <= 4 ? few : many;
  }

  function showProgress(read, total) {
    $('progress').value = total > 0 ? Math.min(read / total, 1) : 0;
    $('progress-text').textContent = `Přečteno ${sizeText(Math.min(read, total))} z ${sizeText(total)}`;
  }

  // ---- Runs ----

  function startRun(entries, report, copy, skipW, onProgress) {
    const line = RunNames.commandLine(entries, report, copy, skipW);
    const outputs = [line.folder + '/' + report];
    if (copy !== null) outputs.push(line.folder + '/' + copy);
    const handle = Engine.run({
      files: entries.map((e) => ({name: e.bytes, blob: e.file})),
      args: line.args, list: line.list, folder: line.folder, outputs,
    }, onProgress);
    return {
      cancel: handle.cancel,
      done: handle.done.then((result) => ({
        status: result.status,
        // The screen keeps what a console shows; blanks that end a line are
        // left of a longer line that the blank line overwrote.
        screen: decoder.decode(result.screen).replace(/ +$/gm, ''),
        report: result.outputs[outputs[0]],
        copy: copy === null ? null : result.outputs[outputs[1]],
        verdict: result.verdict,
        overview: result.overview,
      })),
    };
  }

  // The checker's own message of a failed run: the screen after the banner.
  function message(screen) {
    return screen.split('\n').filter((l) => l.trim() !== '').slice(2).join('\n').trim();
  }

  // A check's further runs are ended and its outputs let go.
  function dropCheck(c) {
    c.dropped = true;
    for (const run of c.runs) run.cancel();
    for (const url of Object.values(c.urls)) URL.revokeObjectURL(url);
  }

  function clearResult() {
    if (batch !== null) {
      for (const c of batch.checks()) dropCheck(c);
      Batch.clear();
    } else if (check !== null) {
      dropCheck(check);
    }
    check = null;
    batch = null;
    hideResult();
  }

  // Empties the result section; the check shown keeps its outputs.
  function hideResult() {
    $('output-error').textContent = '';
    $('output-status').textContent = '';
    $('result').hidden = true;
    findingsView = null;
    $('findings').tBodies[0].textContent = '';
    $('console').textContent = '';
    $('failure').hidden = true;
    $('verdict').dataset.verdict = '';
    $('result-file').textContent = '';
    $('result-back').hidden = true;
    // A link keeps an address, so that the keyboard reaches it; until its
    // output exists, a click makes the output first (onOutputClick).
    for (const a of document.querySelectorAll(OUTPUT_LINKS)) {
      a.href = '#';
      a.classList.remove('busy');
      a.removeAttribute('aria-busy');
    }
  }

  function beginRun(total) {
    setState('running', 'Probíhá kontrola…');
    $('progress-box').hidden = false;
    showProgress(0, total);
    $('cancel').hidden = false;
    keepFocus([$('run')], $('cancel'));
    $('run').disabled = true;
  }

  function endRun(focusTarget) {
    running = null;
    $('run').disabled = chosen.length === 0;
    keepFocus([$('cancel'), $('run')], focusTarget);
    $('cancel').hidden = true;
    $('progress-box').hidden = true;
  }

  async function runCheck() {
    if (chosen.length === 0 || running !== null) return;
    clearResult();
    if (separately()) return runSeparately();
    const entries = RunNames.assign(chosen);
    const skipW = $('skip-w').checked;
    const total = entries.reduce((sum, e) => sum + e.file.size, 0);
    beginRun(total);
    const run = startRun(entries, 'orve.csv', null, skipW, (read) => showProgress(read, total));
    running = run;
    try {
      const result = await run.done;
      await showResult(entries, skipW, result);
    } catch (e) {
      if (e instanceof Engine.Cancelled) {
        setState('cancelled', Explain.CANCELLED);
      } else {
        showPageFailure(e.message);
      }
    } finally {
      endRun($('result').hidden ? $('run') : $('result-heading'));
    }
  }

  // A check that failed inside the page (the worker or its module): no run
  // gave a verdict, so the page shows the verdict of an unchecked file with
  // its reason.
  function showPageFailure(why) {
    const verdict = Explain.pageFailure(why);
    hideResult();
    Explain.show($('verdict'), verdict);
    for (const id of ['totals', 'downloads', 'findings-box', 'console-box']) $(id).hidden = true;
    $('result').hidden = false;
    setState('failed', Explain.failedInPage(why), verdict.headline);
  }

  // ---- Separate submissions ----

  // One file of a batch: the run a single check of it would be, its names
  // given as if it were chosen alone.
  function checkFile(file, skipW, onProgress) {
    const entries = RunNames.assign([file]);
    const run = startRun(entries, 'orve.csv', null, skipW, onProgress);
    return {
      cancel: run.cancel,
      done: run.done.then((result) => {
        const c = makeCheck(entries, skipW, result);
        const ok = result.status === 0;
        return {check: c, status: result.status, e: ok ? c.findings.e : null, w: ok ? c.findings.w : null,
          message: ok ? '' : message(result.screen), verdict: result.verdict, overview: result.overview,
          report: ok ? c.names.htm : ''};
      }),
    };
  }

  function showFileCheck(c, name) {
    showCheck(c);
    $('result-file').textContent = `: ${name}`;
    $('result-back').hidden = false;
    $('result-heading').focus();
  }

  async function runSeparately() {
    const skipW = $('skip-w').checked;
    const total = chosen.reduce((sum, file) => sum + file.size, 0);
    beginRun(total);
    batch = Batch.start([...chosen], {
      run: (file, onProgress) => checkFile(file, skipW, onProgress),
      show: showFileCheck,
      progress: (read) => showProgress(read, total),
    });
    running = batch;
    try {
      const {cancelled, files, verdicts} = await batch.done;
      const n = (x) => x.toLocaleString('cs-CZ');
      if (cancelled) {
        setState('cancelled', Explain.CANCELLED);
      } else {
        const each = Object.entries(verdicts).map(([code, count]) => `${Explain.word(code)} ${n(count)}`);
        setState('done', `Kontrola proběhla. Souborů: ${n(files)}; ${each.join(', ')}.`);
      }
    } catch (e) {
      setState('failed', Explain.failedInPage(e.message));
    } finally {
      endRun($('batch-heading'));
    }
  }

  function cancelCheck() {
    if (running !== null) running.cancel();
  }

  // ---- The result ----

  function showSubstitutes(entries) {
    const list = $('substitutes');
    list.textContent = '';
    for (const e of entries.filter((x) => x.reason !== null)) {
      const li = document.createElement('li');
      li.textContent = `Soubor „${e.file.name}“ je v protokolu uveden jako ${e.name}: ${e.reason}.`;
      list.appendChild(li);
    }
    list.hidden = list.children.length === 0;
  }

  function showLink(kind, url) {
    for (const a of document.querySelectorAll(`#downloads a[data-download="${kind}"], #downloads a[data-open="${kind}"]`))
      a.href = url;
  }

  // The downloads are saved under names made from the checked file's.
  function nameDownloads(names) {
    for (const a of document.querySelectorAll('#downloads a[data-download]')) a.download = names[a.dataset.download];
  }

  // An output of a check, kept with it; the links show it while the check is shown.
  function setLink(c, kind, bytes) {
    const url = URL.createObjectURL(new Blob([bytes], {type: REPORT_TYPES[kind]}));
    c.urls[kind] = url;
    c.outputs[kind] = bytes;
    if (c === check) showLink(kind, url);
  }

  // A finished run: its result, its findings, and the outputs made for it
  // (the CSV report from the run itself, the others on request).
  function makeCheck(entries, skipW, result) {
    const c = {entries, skipW, result, outputs: {}, urls: {}, pending: {}, runs: [], findings: null, source: null,
      dropped: false, names: RunNames.downloadNames(entries.map((e) => e.file))};
    if (result.status === 0) {
      setLink(c, 'csv', result.report);
      c.findings = Findings.read(result.report);
    }
    return c;
  }

  function showResult(entries, skipW, result) {
    const c = makeCheck(entries, skipW, result);
    showCheck(c);
    if (result.status !== 0) {
      setState('failed', `Kontrola nemohla proběhnout (stav ${result.status}).`, result.verdict.headline);
      return;
    }
    setState('done', 'Kontrola proběhla.', result.verdict.headline);
  }

  function showCheck(c) {
    hideResult();
    check = c;
    const result = c.result;
    $('console').textContent = result.screen;
    $('console-box').hidden = false;
    Explain.show($('verdict'), result.verdict);
    showSubstitutes(c.entries);
    nameDownloads(c.names);
    $('result').hidden = false;
    if (result.status !== 0) {
      $('failure').hidden = false;
      $('failure-text').textContent = message(result.screen);
      $('downloads').hidden = true;
      $('findings-box').hidden = true;
      $('totals').hidden = true;
      return;
    }
    $('downloads').hidden = false;
    $('findings-box').hidden = false;
    $('totals').hidden = false;
    for (const [kind, url] of Object.entries(c.urls)) showLink(kind, url);
    const findings = c.findings;
    const totals = $('totals');
    totals.dataset.e = String(findings.e);
    totals.dataset.w = String(findings.w);
    $('total-e').textContent = findings.e.toLocaleString('cs-CZ');
    $('total-e-label').textContent = `${czechPlural(findings.e, 'chyba', 'chyby', 'chyb')} (váha E)`;
    $('total-w').textContent = findings.w.toLocaleString('cs-CZ');
    $('skipped-w').hidden = !(c.skipW && findings.w > 0);
    fillFilters(findings.rows);
    showFindings();
  }

  // ---- Further outputs, made on their first request ----

  // Makes the report of another format, or the output copy, by a run of the
  // same files with the same switch; the copy's run writes the HTML report too
  // when that is not made yet.
  function output(kind) {
    const current = check;
    if (current.outputs[kind]) return Promise.resolve(current.outputs[kind]);
    if (current.pending[kind]) return current.pending[kind];
    const report = kind === 'copy' ? (current.outputs.htm ? 'orve.csv' : 'orve.htm') : `orve.${kind}`;
    const copy = kind === 'copy' ? COPY_NAME : null;
    const run = startRun(current.entries, report, copy, current.skipW, () => {});
    current.runs.push(run);
    const made = run.done.then((result) => {
      if (result.status !== 0) throw new Error(message(result.screen));
      if (current.dropped) throw new Engine.Cancelled();
      const reportKind = report.slice(report.indexOf('.') + 1);
      if (!current.outputs[reportKind]) setLink(current, reportKind, result.report);
      if (copy !== null) setLink(current, 'copy', result.copy);
      return current.outputs[kind];
    });
    current.pending[kind] = made;
    made.catch(() => { delete current.pending[kind]; });
    return made;
  }

  async function onOutputClick(event) {
    const a = event.currentTarget;
    const kind = a.dataset.download || a.dataset.open;
    if (check !== null && check.outputs[kind]) return;  // the link holds its address already
    event.preventDefault();
    if (check === null || a.classList.contains('busy')) return;
    const current = check;
    const opened = a.dataset.open ? window.open('', '_blank') : null;
    a.classList.add('busy');
    a.setAttribute('aria-busy', 'true');
    $('output-status').textContent = `Připravuji: ${a.textContent}…`;
    // The link and the messages are the shown check's: by the time the
    // output is made, another file of separate submissions may be shown.
    const shown = () => check === current;
    try {
      await output(kind);
      if (opened !== null) opened.location.href = current.urls[kind];
      if (!shown()) return;
      $('output-status').textContent = `Připraveno: ${a.textContent}.`;
      if (opened === null) a.click();
    } catch (e) {
      if (opened !== null) opened.close();
      if (!shown()) return;
      $('output-status').textContent = '';
      if (!(e instanceof Engine.Cancelled)) $('output-error').textContent = `Soubor se nepodařilo vytvořit: ${e.message}`;
    } finally {
      if (shown()) {
        a.classList.remove('busy');
        a.removeAttribute('aria-busy');
      }
    }
  }

  // ---- The findings table ----

  function fillSelect(select, values, label) {
    const keep = select.firstElementChild;
    select.textContent = '';
    select.appendChild(keep);
    for (const [value, count] of values) {
      const option = document.createElement('option');
      option.value = value;
      option.textContent = `${label(value)} (${count.toLocaleString('cs-CZ')})`;
      select.appendChild(option);
    }
    select.value = '';
  }

  function fillFilters(rows) {
    $('filter-weight').value = '';
    const codes = Findings.choices(rows, 'code').sort((a, b) => (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0));
    fillSelect($('filter-code'), codes, (code) => code);
    // The employer's value is prefixed so that an empty identification (a
    // finding before the first employer) stays a choice of its own.
    fillSelect($('filter-employer'), Findings.choices(rows, 'employer').map(([v, n]) => ['=' + v, n]),
      (v) => (v.slice(1).trim() === '' ? '(mimo zaměstnavatele)' : v.slice(1)));
  }

  function showCount({shown, total}) {
    const all = check.findings.rows.length;
    const n = (x) => x.toLocaleString('cs-CZ');
    $('shown-count').textContent = shown < total
      ? `Zobrazeno ${n(shown)} z ${n(total)} vybraných (všech ${n(all)})`
      : `Zobrazeno ${n(total)} z ${n(all)}`;
    $('more-findings').hidden = shown >= total;
  }

  function showFindings() {
    const rows = check.findings.rows;
    const employer = $('filter-employer').value;
    const filter = {
      weight: $('filter-weight').value,
      code: $('filter-code').value,
      employer: employer === '' ? null : employer.slice(1),
    };
    $('findings-none').hidden = rows.length !== 0;
    $('findings-list').hidden = rows.length === 0;
    findingsView = Findings.view($('findings').tBodies[0], rows, filter, codesPage());
    showCount(findingsView.more());
  }

  // The focus goes to the first of the added rows: the button that asked
  // for them may be hidden now that all are shown.
  function moreFindings() {
    if (findingsView === null) return;
    const added = findingsView.more();
    showCount(added);
    if (added.first !== null) Findings.focusRow($('findings').tBodies[0], added.first);
  }

  // The table scrolls sideways in a box of its own where the window is
  // narrow; then the box is a stop of the Tab key, so that the keyboard can
  // scroll it too. The box's size changes with the window and with the rows
  // shown (a ResizeObserver calls this).
  function updateScrollStop() {
    const box = $('findings-scroll');
    if (box.scrollWidth > box.clientWidth) box.tabIndex = 0;
    else box.removeAttribute('tabindex');
  }

  // ---- A finding's explanation and the lines of the input around it ----

  // The list of codes beside the page (kody.html in the release's single
  // file), or '' where the page has none beside it (the served site).
  const codesPage = () => $('findings').dataset.codesPage;

  function sourceTable(lines, line) {
    const table = document.createElement('table');
    table.className = 'lines';
    const first = lines.length > 0 ? lines[0].number : line;
    const last = lines.length > 0 ? lines.at(-1).number : line;
    table.setAttribute('aria-label', `Řádky ${first} až ${last} datového souboru, řádek nálezu ${line} je zvýrazněn`);
    for (const {number, parts} of lines) {
      parts.forEach((part, i) => {
        const tr = document.createElement('tr');
        if (number === line) {
          tr.className = 'hit';
          tr.setAttribute('aria-current', 'true');
        }
        const n = document.createElement('th');
        n.textContent = i === 0 ? String(number) : '';
        const text = document.createElement('td');
        text.textContent = part.text + (part.cut ? ' … (řádek je delší, zobrazen jeho začátek)' : '');
        tr.append(n, text);
        if (parts.length > 1 || check.entries.length > 1) {
          const file = document.createElement('td');
          file.className = 'file';
          file.textContent = part.file;
          tr.appendChild(file);
        }
        table.appendChild(tr);
      });
    }
    return table;
  }

  async function toggleSource(tr) {
    const button = tr.querySelector('button.line');
    const next = tr.nextElementSibling;
    if (next !== null && next.classList.contains('source')) {
      next.remove();
      tr.classList.remove('open');
      button.setAttribute('aria-expanded', 'false');
      return;
    }
    const row = check.findings.rows[Number(tr.dataset.index)];
    const line = Number.parseInt(row.line, 10);
    const detail = document.createElement('tr');
    detail.className = 'source';
    const td = document.createElement('td');
    td.colSpan = Findings.COLUMNS.length;
    // The explanation and the lines are a region of their own, named after
    // the finding; the lines come when they are read.
    const region = document.createElement('div');
    region.id = Findings.sourceId(row);
    region.setAttribute('role', 'region');
    region.setAttribute('aria-label', `Nález ${row.code} na řádku ${row.line.trim()}: vysvětlení a místo v datovém souboru`);
    const cell = document.createElement('div');
    cell.className = 'lines-box';
    cell.setAttribute('aria-live', 'polite');
    region.append(Explain.finding(row, codesPage()), cell);
    td.appendChild(region);
    detail.appendChild(td);
    tr.after(detail);
    tr.classList.add('open');
    button.setAttribute('aria-expanded', 'true');
    if (!Number.isFinite(line)) {
      cell.textContent = 'Nález se neváže k řádku souboru.';
      return;
    }
    cell.textContent = 'Načítám řádky souboru…';
    const current = check;
    try {
      if (current.source === null)
        current.source = SourceLines.index(current.entries.map((e) => ({name: e.name, blob: e.file})));
      const lines = await SourceLines.around(await current.source, line, SOURCE_RADIUS);
      cell.textContent = '';
      cell.appendChild(sourceTable(lines, line));
    } catch (e) {
      current.source = null;
      cell.textContent = `Řádky souboru se nepodařilo přečíst: ${e.message}`;
    }
  }

  // ---- Wiring ----

  function wire() {
    $('files').addEventListener('change', (e) => { choose(e.target.files, false); e.target.value = ''; });
    $('add-files').addEventListener('change', (e) => { choose(e.target.files, true); e.target.value = ''; });
    const drop = $('drop');
    drop.addEventListener('dragover', (e) => { e.preventDefault(); drop.classList.add('over'); });
    drop.addEventListener('dragleave', () => drop.classList.remove('over'));
    drop.addEventListener('drop', (e) => {
      e.preventDefault();
      drop.classList.remove('over');
      if (e.dataTransfer.files.length > 0) choose(e.dataTransfer.files, false);
    });
    $('run').addEventListener('click', runCheck);
    $('cancel').addEventListener('click', cancelCheck);
    for (const a of document.querySelectorAll(OUTPUT_LINKS))
      a.addEventListener('click', onOutputClick);
    for (const radio of document.querySelectorAll('input[name="mode"]'))
      radio.addEventListener('change', showMode);
    Batch.wire();
    $('back-to-summary').addEventListener('click', () => { if (batch !== null) batch.focusShown(); });
    $('more-findings').addEventListener('click', moreFindings);
    for (const id of ['filter-weight', 'filter-code', 'filter-employer'])
      $(id).addEventListener('change', showFindings);
    const tbody = $('findings').tBodies[0];
    tbody.addEventListener('click', (e) => {
      const tr = e.target.closest('tr[data-code]');
      // A code's link opens the list of codes; it leaves the row as it is.
      if (tr === null || e.target.closest('a') !== null) return;
      Findings.focusRow(tbody, tr);
      toggleSource(tr);
    });
    tbody.addEventListener('keydown', (e) => Findings.keyboard(tbody, e));
    new ResizeObserver(updateScrollStop).observe($('findings-scroll'));
    showChosen();
    Engine.load().catch((e) => setState('failed', `Kontrolní program se nepodařilo načíst: ${e.message}`));
  }

  wire();
})();
