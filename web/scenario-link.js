// The scenario in the page's address: the sixteen texts and the decimal
// separator they were written with, so a link or a bookmark reopens the
// scenario, also in a browser with another separator. A classic script, like
// page.js, which starts it with createScenarioLink.
'use strict';

// `fields`: the input names in box order; `separator`: the page's decimal
// separator; `usableSeparator(text)`: whether the evaluator would take `text`
// as one. Returns { textsFromUrl(), urlFor(texts) }.
function createScenarioLink(fields, separator, usableSeparator) {
  // The URL also names the decimal separator its texts were written with, so
  // a link made in a browser with "0,5" opens right in one with "0.5".
  const SEPARATOR_KEY = 'tizedesjel';

  // A number text written with the separator `from` ("-12,5", ",5", "3,"),
  // with the page's separator instead; any other text as it is. `from` holds
  // no digit, sign or blank (see textsFromUrl), so the pattern has one way
  // to match a text and takes linear time.
  function withPageSeparator(text, from) {
    if (!from || from === separator) return text;
    const quoted = from.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
    const plain = new RegExp(`^(\\s*[+-]?(?:\\d+${quoted}\\d*|${quoted}\\d+)\\s*)$`, 'u');
    return plain.test(text) ? text.replace(from, separator) : text;
  }

  // Texts named in the URL, read like typed texts; anything else is ignored,
  // as is a separator that the evaluator would refuse.
  function textsFromUrl() {
    const params = new URLSearchParams(window.location.search);
    const named = params.get(SEPARATOR_KEY);
    const from = named !== null && usableSeparator(named) ? named : null;
    return Object.fromEntries(fields.filter((f) => params.has(f))
      .map((f) => [f, withPageSeparator(params.get(f), from)]));
  }
  const urlFor = (texts) =>
    `?${new URLSearchParams([...fields.map((f) => [f, texts[f]]), [SEPARATOR_KEY, separator]])}`;

  return { textsFromUrl, urlFor };
}
