// Several files checked as separate submissions: each file a run of its own,
// as `quelt NAME orve.csv` in the file's folder would check it, a few runs at
// a time, each in its own worker. A summary table gives every file's verdict
// (in the checker's words, from its run), totals and state as its run ends,
// and leads to the file's own result, which the page shows as it shows a
// single check; the summary is a download too (souhrn.csv, with the columns
// of quelt-davka's). The runs and their results are the page's (app.js hands
// them in); this module schedules them and keeps the summary.
'use strict';

const Batch = (() => {
  const $ = (id) => document.getElementById(id);
  const MAX_WORKERS = 4;
  const SUMMARY_TYPE = 'text/csv; charset=windows-1250';
  const {CANCELLED} = Explain;

  // Runs at a time: one a core the browser reports, at most MAX_WORKERS
  // (each holds a module and up to 64 MB of its file's blocks), never more
  // than there are files.
  function width(count) {
    const cores = navigator.hardwareConcurrency || 1;
    return Math.max(1, Math.min(cores, MAX_WORKERS, count));
  }

  // A run that could not start is a run that failed: the other files go on.
  function startOne(start, i) {
    try {
      return start(i);
    } catch (error) {
      return {done: Promise.reject(error), cancel() {}};
    }
  }

  // Starts start(i) for i = 0 .. count-1 in that order, at most `width` runs
  // under way at a time; start gives a run {done, cancel}. ended(i, outcome)
  // hears of each run's end: {result} or {error}. Returns {done, cancel()}:
  // done settles when no run is under way and none will start; after cancel()
  // the runs under way are ended and no other starts.
  function each(count, width, start, ended) {
    let next = 0;
    let active = 0;
    let stopped = false;
    const under = new Map();
    let finish = null;
    const done = new Promise((resolve) => { finish = resolve; });
    const launch = () => {
      while (!stopped && active < width && next < count) {
        const i = next++;
        const run = startOne(start, i);
        under.set(i, run);
        ++active;
        run.done.then((result) => ({result}), (error) => ({error})).then((outcome) => {
          under.delete(i);
          --active;
          ended(i, outcome);
          launch();
          if (active === 0) finish();
        });
      }
    };
    launch();
    if (active === 0) finish();
    const cancel = () => {
      stopped = true;
      for (const run of under.values()) run.cancel();
    };
    return {done, cancel};
  }

  // ---- A file's row ----

  // A message of the checker's, which spans lines on its screen, as one line
  // of the table and of the summary.
  const oneLine = (text) => text.split(/[\r\n]+/).map((l) => l.trim()).filter((l) => l !== '').join(' ');

  // A row from its run's outcome: its state, and the verdict the run gave
  // (a check that failed inside the page has the verdict of an unchecked
  // file, a cancelled one none). A run that ended gives {check, status, e,
  // w, message, verdict, overview, report} (e and w null without totals).
  function rowOf(outcome) {
    if (outcome.result !== undefined) {
      const {status, message} = outcome.result;
      return {...outcome.result, state: status === 0 ? 'done' : 'failed', message: oneLine(message)};
    }
    if (outcome.error instanceof Engine.Cancelled) return {state: 'cancelled', message: CANCELLED};
    const why = oneLine(outcome.error instanceof Error ? outcome.error.message : String(outcome.error));
    return {state: 'failed', message: Explain.failedInPage(why), verdict: Explain.pageFailure(why)};
  }

  function stateText(row) {
    switch (row.state) {
      case 'waiting': return 'čeká na kontrolu';
      case 'running': return 'kontroluje se';
      case 'done': return 'zkontrolován';
      case 'failed': return `nezkontrolován: ${row.message}`;
      default: return CANCELLED;
    }
  }

  const count = (n) => (n === null ? '–' : n.toLocaleString('cs-CZ'));

  // The file's name is a button once the file has a result to show; the
  // verdict is said in its word, its code in data-verdict (empty while the
  // file waits or runs, and for a cancelled one).
  function drawRow(tr, row, i) {
    tr.dataset.state = row.state;
    tr.dataset.verdict = row.verdict === null ? '' : row.verdict.verdict;
    tr.dataset.e = row.e === null ? '' : String(row.e);
    tr.dataset.w = row.w === null ? '' : String(row.w);
    tr.className = row.state === 'failed' ? 'failed' : row.e > 0 ? 'weight-e' : row.w > 0 ? 'weight-w' : '';
    tr.textContent = '';
    const name = document.createElement('th');
    name.scope = 'row';
    if (row.check !== null) {
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'show';
      button.dataset.index = String(i);
      button.textContent = row.name;
      name.appendChild(button);
    } else {
      name.textContent = row.name;
    }
    const word = row.verdict === null ? '–' : row.verdict.word;
    const cells = [word, count(row.e), count(row.w), stateText(row)].map((text) => {
      const td = document.createElement('td');
      td.textContent = text;
      return td;
    });
    tr.append(name, ...cells);
  }

  // ---- souhrn.csv ----

  // A file's row: its name; what its run read of the submission (the counts
  // only of a complete run); the verdict's word; the run's exit status (none
  // when the run did not end: cancelled, or the page failed); the message of
  // a run that did not complete; the name its HTML report is downloaded under.
  function summaryFields(r) {
    const complete = r.status === 0;
    const overview = r.overview ?? {submitter: '', employers: '', records: null};
    const number = (n) => (complete && n !== null ? String(n) : '');
    return [r.name, overview.submitter, overview.employers, number(overview.records), number(r.e), number(r.w),
      r.verdict === null ? '' : r.verdict.word, r.status === null ? '' : String(r.status),
      complete ? Explain.summary().complete : r.message, complete ? r.report : ''];
  }

  // One row a file in the order chosen, in Windows-1250, every field made
  // safe for a spreadsheet (text_safety.js).
  function summaryBytes(rows) {
    const lines = [Explain.summary().columns, ...rows.map(summaryFields)];
    return RunNames.encode(lines.map(TextSafety.summaryRow).join(''));
  }

  // ---- The batch ----

  let current = null;  // the batch whose summary is shown

  // Checks files (File objects) each as a submission of its own. hooks:
  //   run(file, onProgress): the file's run {done, cancel}; done gives
  //     {check, status, e, w, message, verdict, overview, report}
  //   show(check, name): shows a file's result
  //   progress(bytes): the bytes read of all the files so far
  // Returns {done, cancel(), checks(), focusShown()}: done gives
  // {cancelled, files, verdicts} once every file has its row, verdicts the
  // number of files of each verdict code.
  function start(files, hooks) {
    clear();
    const rows = files.map((file) => ({name: file.name, state: 'waiting', check: null, status: null, e: null, w: null,
      message: '', verdict: null, overview: null, report: ''}));
    const tbody = $('summary').tBodies[0];
    for (const [i, row] of rows.entries()) {
      const tr = document.createElement('tr');
      drawRow(tr, row, i);
      tbody.appendChild(tr);
    }
    $('batch').hidden = false;
    const redraw = (i) => drawRow(tbody.rows[i], rows[i], i);

    const read = files.map(() => 0);
    const progress = () => hooks.progress(read.reduce((sum, n) => sum + n, 0));
    let cancelled = false;
    const runs = each(files.length, width(files.length), (i) => {
      rows[i].state = 'running';
      redraw(i);
      return hooks.run(files[i], (bytes) => { read[i] = bytes; progress(); });
    }, (i, outcome) => {
      read[i] = files[i].size;
      progress();
      Object.assign(rows[i], rowOf(outcome));
      redraw(i);
    });

    const batch = {
      rows, shown: -1, url: null,
      cancel() { cancelled = true; runs.cancel(); },
      checks: () => rows.filter((r) => r.check !== null).map((r) => r.check),
      focusShown() {
        const button = tbody.querySelector('button[aria-current="true"]');
        (button === null ? $('batch-heading') : button).focus();
      },
      show(i) {
        for (const b of tbody.querySelectorAll('button[aria-current]')) b.removeAttribute('aria-current');
        tbody.rows[i].querySelector('button.show').setAttribute('aria-current', 'true');
        hooks.show(rows[i].check, rows[i].name);
      },
    };
    batch.done = runs.done.then(() => {
      rows.forEach((row, i) => {
        if (row.state !== 'waiting') return;
        Object.assign(row, {state: 'cancelled', message: CANCELLED});
        redraw(i);
      });
      batch.url = URL.createObjectURL(new Blob([summaryBytes(rows)], {type: SUMMARY_TYPE}));
      document.querySelector('a[data-download="souhrn"]').href = batch.url;
      $('summary-links').hidden = false;
      // The files of each verdict, in the verdicts' order.
      const verdicts = {ok: 0, warnings: 0, errors: 0, incomplete: 0};
      for (const row of rows) if (row.verdict !== null) ++verdicts[row.verdict.verdict];
      return {cancelled, files: rows.length, verdicts};
    });
    current = batch;
    return batch;
  }

  // Removes the summary of the last batch (its runs have ended).
  function clear() {
    if (current !== null && current.url !== null) URL.revokeObjectURL(current.url);
    current = null;
    $('batch').hidden = true;
    $('summary').tBodies[0].textContent = '';
    $('summary-links').hidden = true;
    document.querySelector('a[data-download="souhrn"]').href = '#';
  }

  // A click on a file's name shows its result.
  function wire() {
    $('summary').tBodies[0].addEventListener('click', (e) => {
      const button = e.target.closest('button.show');
      if (button !== null && current !== null) current.show(Number(button.dataset.index));
    });
  }

  return {start, clear, wire};
})();
