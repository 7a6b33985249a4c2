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

  const CHUNK = 2000;  // rows added to the page at a time, so it stays responsive

  function matches(row, filter) {
    return (filter.weight === '' || row.code[0] === filter.weight) &&
           (filter.code === '' || row.code === filter.code) &&
           (filter.employer === null || row.employer === filter.employer);
  }

  function rowElement(row) {
    const tr = document.createElement('tr');
    tr.dataset.code = row.code;
    tr.dataset.index = String(row.index);
    tr.className = row.code[0] === 'E' ? 'weight-e' : 'weight-w';
    for (const name of COLUMNS) {
      const td = document.createElement('td');
      td.textContent = row[name];
      tr.appendChild(td);
    }
    return tr;
  }

  let renderToken = 0;

  // Fills tbody with the rows that pass the filter, a chunk a frame. Returns
  // a promise of the number shown; a newer call supersedes an older one.
  function render(tbody, rows, filter) {
    const token = ++renderToken;
    tbody.textContent = '';
    const shown = rows.filter((row) => matches(row, filter));
    return new Promise((resolve) => {
      let at = 0;
      const step = () => {
        if (token !== renderToken) return resolve(null);
        const fragment = document.createDocumentFragment();
        for (const end = Math.min(at + CHUNK, shown.length); at < end; ++at)
          fragment.appendChild(rowElement(shown[at]));
        tbody.appendChild(fragment);
        if (at < shown.length) requestAnimationFrame(step);
        else resolve(shown.length);
      };
      step();
    });
  }

  // The values a filter can choose, each with its number of findings, in
  // the order they first occur (codes sorted).
  function choices(rows, key) {
    const counts = new Map();
    for (const row of rows) counts.set(row[key], (counts.get(row[key]) || 0) + 1);
    return [...counts.entries()];
  }

  return {read, render, choices, COLUMNS};
})();
