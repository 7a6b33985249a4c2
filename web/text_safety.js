// The text safety of everything the page and its build write from texts they
// did not make (file names, values read from a submission, messages): HTML
// escaping, the fields of the summary of separate submissions (souhrn.csv),
// which a spreadsheet opens, and relative links. The checker's own module does
// the same for quelt and quelt-davka; both are held to the shared cases of
// tests/text_safety/cases.json (tests/web/text_safety_test.mjs).
'use strict';

const TextSafety = (() => {
  const HTML = {'<': '&lt;', '>': '&gt;', '&': '&amp;', '"': '&quot;'};

  // A text for HTML, in an element or a quoted attribute.
  const html = (text) => text.replace(/[<>&"]/g, (c) => HTML[c]);

  // A spreadsheet takes a field that starts with one of these for a formula
  // (a carriage return or a tab before one hides it); a number with a sign
  // stays a number.
  const FORMULA_START = /^[=+\-@\t\r]/;
  const NUMBER = /^[+-]?\d+(?:[.,]\d+)?$/;

  // A field of souhrn.csv: a formula neutralised by a leading apostrophe, as
  // spreadsheet guidance recommends, then quoted when it holds ';', '"' or a
  // line end, each '"' doubled.
  function summaryField(text) {
    const safe = FORMULA_START.test(text) && !NUMBER.test(text) ? `'${text}` : text;
    return /[;"\r\n]/.test(safe) ? `"${safe.replace(/"/g, '""')}"` : safe;
  }

  // One row of souhrn.csv: its fields and the line's end.
  const summaryRow = (fields) => fields.map(summaryField).join(';') + '\n';

  // A file's name as a relative link: every UTF-8 byte but the unreserved
  // characters percent-encoded, so that no name becomes a scheme, a query, a
  // fragment or another folder.
  const link = (name) => encodeURIComponent(name)
    .replace(/[!'()*]/g, (c) => `%${c.charCodeAt(0).toString(16).toUpperCase()}`);

  return {html, summaryField, summaryRow, link};
})();
