// The verdict of a check and the explanation of a finding, in the checker's
// own words. A run's verdict comes from the run itself (the worker asks the
// module, quelt_verdikt); the texts the page needs without a run (the verdict
// of a check that failed inside the page, the verdict words of the summary,
// the items' names and what to do about a finding) were put into the page at
// build time from the same C++ sources (#page-texts, tools/page_texts.cpp).
// Nothing here decides a verdict: it shows one. The page's own words for a
// check that ended without a run's result (cancelled, failed in the page)
// are here too, for the single check and the summary alike.
'use strict';

const Explain = (() => {
  let texts = null;
  const all = () => {
    if (texts === null) texts = JSON.parse(document.getElementById('page-texts').textContent);
    return texts;
  };

  // The codes of the findings whose registers are the samples in this copy
  // (#campaign[data-samples]); none in a campaign's copy.
  const sampleCodes = () => {
    const campaign = document.getElementById('campaign');
    return campaign === null ? [] : campaign.dataset.samples.split(/\s+/).filter((c) => c !== '');
  };

  // What the page says of a check that ended without a run's result: one
  // cancelled (it has no verdict), and one that failed inside the page (the
  // worker or its module), whose verdict is pageFailure's.
  const CANCELLED = 'Kontrola byla zrušena.';
  const failedInPage = (why) => `Kontrolu se nepodařilo provést: ${why}`;

  // The verdict of a check that failed inside the page (no run gave one):
  // incomplete, with the reason the page knows.
  function pageFailure(reason) {
    const {verdicts, reason: template} = all();
    const why = reason.trim().replace(/\.$/, '');
    return why === '' ? verdicts.incomplete : {...verdicts.incomplete, advice: template.replace('\u0001', why)};
  }

  // The short word of a verdict code, for the counts of separate submissions.
  const word = (code) => all().verdicts[code].word;

  // Fills the verdict's element: data-verdict, the first sentence, the
  // advice, and the note on sample registers where this copy has them.
  function show(element, verdict) {
    element.dataset.verdict = verdict.verdict;
    element.querySelector('.verdict-word').textContent = verdict.word;
    element.querySelector('.verdict-headline').textContent = verdict.headline;
    element.querySelector('.verdict-advice').textContent = verdict.advice;
    const note = element.querySelector('.verdict-samples');
    note.textContent = sampleCodes().length > 0 ? all().samplesNote : '';
    note.hidden = note.textContent === '';
  }

  // ---- A finding ----

  const WEIGHT = {E: 'chyba (váha E)', W: 'varování (váha W)'};

  // The items a finding's element column names ("AA0132; AA0133; ...",
  // "AA0017/AA0113"), in a clerk's words; an unknown name as it stands.
  function items(row) {
    const names = row.element.match(/[A-Za-z][A-Za-z0-9]*/g) ?? [];
    const known = names.filter((n) => Object.hasOwn(all().items, n)).map((n) => all().items[n]);
    if (known.length > 0) return known.join('; ');
    if (row.element.trim() !== '') return `prvek „${row.element.trim()}“`;
    return 'žádný jednotlivý údaj';
  }

  // Where in the file: the employer and the employee the report names.
  function where(row) {
    const parts = [];
    if (row.employer.trim() !== '') parts.push(`zaměstnavatel ${row.employer.trim()}`);
    if (row.employee.trim() !== '') parts.push(`zaměstnanec ${row.employee.trim()}`);
    return parts.length > 0 ? ` Místo: ${parts.join(', ')}.` : '';
  }

  // What to do: by the weight, and the kind of rule where it says more.
  function advice(row) {
    const {weightAdvice, adviceKinds, codeAdvice} = all();
    const weight = weightAdvice[row.code[0]] ?? weightAdvice.E;
    const kind = codeAdvice[row.code];
    const text = `${weight.what} ${kind === undefined ? weight.fix : adviceKinds[kind]}`;
    return sampleCodes().includes(row.code) ? `${text} ${all().samplesNote}` : text;
  }

  function entry(list, term, ...content) {
    const dt = document.createElement('dt');
    dt.textContent = term;
    const dd = document.createElement('dd');
    dd.append(...content);
    list.append(dt, dd);
  }

  // A finding's explanation, shown with its lines of the input. codesPage:
  // the list of codes beside the page (kody.html), or '' where there is none.
  function finding(row, codesPage) {
    const list = document.createElement('dl');
    list.className = 'explanation';
    const meaning = [`${row.code} – ${WEIGHT[row.code[0]] ?? row.code}: ${row.text.trim()}`];
    if (codesPage !== '') {
      const a = codeLink(row.code, codesPage);
      a.textContent = `${row.code} v seznamu kódů`;
      meaning.push(' (', a, ')');
    }
    entry(list, 'Co nález znamená', ...meaning);
    entry(list, 'Kterého údaje se týká', `${items(row)}.${where(row)}`);
    entry(list, 'Co udělat', advice(row));
    return list;
  }

  // A link to a code's row in the list of codes, opened beside the page.
  function codeLink(code, codesPage) {
    const a = document.createElement('a');
    a.href = `${codesPage}#${TextSafety.link(code)}`;
    a.target = '_blank';
    a.rel = 'noopener';
    return a;
  }

  // The columns of quelt-davka's summary in its order, and a complete row's
  // message.
  const summary = () => all().summary;

  return {CANCELLED, failedInPage, pageFailure, word, summary, show, finding, codeLink};
})();
