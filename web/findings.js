// The findings of a check, read from the run's own semicolon-separated
// report: one row a finding in the order the checker found them, then the two
// totals. The page shows them in a table that filters by weight, code and
// employer; nothing here judges the data again.
'use strict';

const Findings = (() => {
  const decoder = new TextDecoder('windows-1250');
  const COLUMNS = ['line', 'code', 'employer', 'employee', 'element', 'value', 'expected', 'text'];

  // One line of the report: fields separated by ';', a field holding ';' or
  // '"' in double quotes with each '"' doubled.
  function fields(line) {
    const out = [];
    let i = 0;
    for (;;) {
      let field = '';
      if (line[i] === '"') {
        for (++i; i < line.length; ++i) {
          if (line[i] === '"') {
            if (line[i + 1] !== '"') { ++i; break; }
            ++i;
          }
          field += line[i];
        }
        const next = line.indexOf(';', i);
        i = next < 0 ? line.length : next;
      } else {
        const next = line.indexOf(';', i);
        field = line.slice(i, next < 0 ? line.length : next);
        i = next < 0 ? line.length : next;
      }
      out.push(field);
      if (i >= line.length) return out;
      ++i;  // the ';'
    }
  }

  function total(lines, weight) {
    const pattern = new RegExp('^Celkem chyb vahy ' + weight + ':;\\s*(\\d+)$');
    for (const line of lines) {
      const m = pattern.exec(line);
      if (m) return Number(m[1]);
    }
    return null;
  }

  // bytes: the report (Windows-1250). Returns {rows, e, w}; e and w are null
  // when the report has no totals (a run that did not end normally).
  function read(bytes) {
    const lines = decoder.decode(bytes).split('\n');
    const rows = [];
    let i = 1;  // line 0 is the column heading
    for (; i < lines.length && lines[i] !== ''; ++i) {
      const f = fields(lines[i]);
      const row = {};
      COLUMNS.forEach((name, k) => { row[name] = f[k] === undefined ? '' : f[k]; });
      row.index = rows.length;
      rows.push(row);
    }
    const rest = lines.slice(i);
    return {rows, e: total(rest, 'E'), w: total(rest, 'W')};
  }

  // ---- The table ----

  // The table shows the findings that pass the filter PAGE rows at a time,
  // the next PAGE on request: a report of a million rows would not fit a
  // page, and every row stays in the downloads.
  const PAGE = 2000;

  function matches(row, filter) {
    return (filter.weight === '' || row.code[0] === filter.weight) &&
           (filter.code === '' || row.code === filter.code) &&
           (filter.employer === null || row.employer === filter.employer);
  }

  // A finding's row. Its line number is a button that opens and closes the
  // finding's explanation and the lines of the input around it (the row
  // after it, sourceId). Where the list of codes is beside the page
  // (codesPage), the code leads to its row there too: for the mouse, since
  // the table stays one stop of the Tab key (the explanation holds the same
  // link for the keyboard).
  function rowElement(row, codesPage) {
    const tr = document.createElement('tr');
    tr.dataset.code = row.code;
    tr.dataset.index = String(row.index);
    tr.className = row.code[0] === 'E' ? 'weight-e' : 'weight-w';
    for (const name of COLUMNS) {
      const td = document.createElement('td');
      if (name === 'line') {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'line';
        button.textContent = row.line.trim() === '' ? '–' : row.line;
        button.setAttribute('aria-label', `Řádek ${row.line.trim()}: vysvětlení a místo nálezu ${row.code} v datovém souboru`);
        button.setAttribute('aria-expanded', 'false');
        button.setAttribute('aria-controls', sourceId(row));
        button.tabIndex = -1;
        td.appendChild(button);
      } else if (name === 'code' && codesPage !== '') {
        const a = Explain.codeLink(row.code, codesPage);
        a.textContent = row.code;
        a.tabIndex = -1;
        td.appendChild(a);
      } else {
        td.textContent = row[name];
      }
      tr.appendChild(td);
    }
    return tr;
  }

  const sourceId = (row) => `zdroj-${row.index}`;

  // Shows the rows that pass the filter (codesPage: the list of codes beside
  // the page, or ''): a view whose more() adds the next
  // page and returns {shown, total, first}, first the first added row.
  // The table is one stop of the Tab key: the button of one row takes it
  // (the first at the start), and the arrow keys move it (keyboard()).
  function view(tbody, rows, filter, codesPage) {
    const selected = rows.filter((row) => matches(row, filter));
    let at = 0;
    tbody.textContent = '';
    const more = () => {
      const fragment = document.createDocumentFragment();
      const start = at;
      for (const end = Math.min(at + PAGE, selected.length); at < end; ++at) fragment.appendChild(rowElement(selected[at], codesPage));
      const first = fragment.firstElementChild;
      tbody.appendChild(fragment);
      if (start === 0 && first !== null) first.querySelector('button.line').tabIndex = 0;
      return {shown: at, total: selected.length, first};
    };
    return {more};
  }

  // Moves the table's Tab stop to a row's button and focuses it.
  function focusRow(tbody, tr) {
    for (const b of tbody.querySelectorAll('button.line[tabindex="0"]')) b.tabIndex = -1;
    const button = tr.querySelector('button.line');
    button.tabIndex = 0;
    button.focus();
  }

  // The arrow keys, Home and End on a row's button: the next or previous
  // finding, the first or the last; the rows of the input lines are passed.
  const MOVES = {ArrowDown: (i) => i + 1, ArrowUp: (i) => i - 1, Home: () => 0, End: (i, n) => n - 1};

  function keyboard(tbody, event) {
    const button = event.target.closest('button.line');
    const move = MOVES[event.key];
    if (button === null || move === undefined) return;
    event.preventDefault();
    const rows = tbody.querySelectorAll('tr[data-code]');
    const next = rows[move([...rows].indexOf(button.closest('tr')), rows.length)];
    if (next) focusRow(tbody, next);
  }

  // The values a filter can choose, each with its number of findings, in
  // the order they first occur.
  function choices(rows, key) {
    const counts = new Map();
    for (const row of rows) counts.set(row[key], (counts.get(row[key]) || 0) + 1);
    return [...counts.entries()];
  }

  return {read, view, choices, focusRow, keyboard, sourceId, COLUMNS};
})();
