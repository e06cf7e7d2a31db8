// The page's analysis view: what would make the last calculated
// scenario pay off. It lays out what the core hands over: its words (built
// into the page as #analysis-texts), the figures, the break-even table and
// the tornado chart's model of the analysis answer. The work runs in a Web
// Worker with the same core; where the browser allows none (a page opened
// from disk) it runs here, after the browser has shown the busy text. A
// figure is only ever shown for the scenario last calculated.
// A classic script, like page.js, which starts it with createAnalysisView.
'use strict';

// `fields`: the input names in box order; `separator`: the decimal separator;
// `analyseHere`: the core's zr_analyse; `dialog`: the page's message dialog;
// `avoidedCo2(texts)`: the core's avoided CO₂ of box texts with the page's
// carrier, {text, basis}. Returns { open, runStarted, runFinished,
// runFailed, carrierChanged }.
function createAnalysisView({ fields, separator, analyseHere, coreReady, dialog, avoidedCo2 }) {
  const { texts, captions } = JSON.parse(document.getElementById('analysis-texts').textContent);
  const section = document.getElementById('Elemzes');
  const toggle = document.getElementById('Elemzes-gomb');
  const heading = document.getElementById('Elemzes-cim');
  const status = document.getElementById('Allapot');
  const tableBody = document.querySelector('#Kuszobertekek tbody');
  const tornado = document.getElementById('Tornado');
  const axis = document.querySelector('.tornado-axis .track');
  const baseText = document.getElementById('Tornado-alap');
  const co2 = document.getElementById('ElkerultCo2');
  const figureIds = { NPV: 'npv', BelsoRata: 'internal_rate', EgyszeruMegterules: 'simple_payback' };

  // Across a bar's track, in per cent: the time scale, then the no-payback band.
  const SCALE_END = 88;       // when the chart has the band; else the scale fills the track
  const BAND_MIDDLE = 94;
  const THINNEST_BAR = 0.4;   // a bar of no length still shows

  const cell = (tag, text, attributes = {}) => {
    const element = document.createElement(tag);
    element.textContent = text;
    for (const [name, value] of Object.entries(attributes)) element.setAttribute(name, value);
    return element;
  };

  let latest = null;      // the texts of the scenario last calculated
  let latestId = 0;       // counts the scenarios
  let shownId = -1;       // the scenario whose figures stand
  let runningId = 0;      // the scenario under way, 0 when none
  let worker;             // undefined until first needed, null where none can run

  function showPending() {
    status.textContent = texts.busy;
    section.setAttribute('aria-busy', 'true');
    for (const id of Object.keys(figureIds)) document.getElementById(id).value = '';
    tableBody.replaceChildren(...fields.map((field) => {
      const row = document.createElement('tr');
      row.append(cell('th', captions[field].text, { scope: 'row' }), cell('td', ''), cell('td', ''),
        cell('td', captions[field].unit));
      return row;
    }));
    tornado.replaceChildren();
    axis.replaceChildren();
    baseText.textContent = '';
  }

  // Draws the core's tornado model. A place is a fraction of the time scale,
  // 'band' (the no-payback band) or null (nothing to place).
  function showTornado(model) {
    baseText.textContent = model.base.text;
    const scaleEnd = model.band === null ? 100 : SCALE_END;
    const x = (place) => (place === 'band' ? BAND_MIDDLE : place * scaleEnd);
    const band = () => {
      const element = cell('span', '', { class: 'none-band' });
      element.style.left = `${scaleEnd}%`;
      return element;
    };
    tornado.replaceChildren(...model.bars.map((bar) => {
      const item = document.createElement('li');
      const track = cell('span', '', { class: 'track', 'aria-hidden': 'true' });
      if (model.band !== null) track.append(band());
      const anchor = bar.anchor === null ? 0 : x(bar.anchor);
      for (const [side, end] of [['minus', bar.minus], ['plus', bar.plus]]) {
        if (end.at === null) continue;
        const span = cell('span', '', { class: `bar ${side}${end.at === 'band' ? ' none' : ''}` });
        span.style.left = `${Math.min(anchor, x(end.at))}%`;
        span.style.width = `${Math.max(THINNEST_BAR, Math.abs(x(end.at) - anchor))}%`;
        track.append(span);
      }
      if (model.base.at !== null) {
        const line = cell('span', '', { class: 'base' });
        line.style.left = `${x(model.base.at)}%`;
        track.append(line);
      }
      const endText = (side, end) =>
        cell('span', `${end.percent_text}: ${end.text}`, { class: `end ${side}${end.at === null ? ' missing' : ''}` });
      item.append(cell('span', captions[bar.field].text, { class: 'name' }), endText('minus', bar.minus),
        track, endText('plus', bar.plus));
      return item;
    }));
    const ticks = model.ticks.map(({ at, text }) => {
      const tick = cell('span', text, { class: 'tick' });
      tick.style.left = `${x(at)}%`;
      return tick;
    });
    if (model.band !== null) {
      const none = cell('span', model.band, { class: 'tick' });
      none.style.left = `${BAND_MIDDLE}%`;
      ticks.push(band(), none);
    }
    axis.replaceChildren(...ticks);
  }

  function showAnswer(answer) {
    section.removeAttribute('aria-busy');
    if (!answer || !answer.analysis) {
      status.textContent = texts.failed;
      return;
    }
    const a = answer.analysis;
    for (const [id, key] of Object.entries(figureIds)) document.getElementById(id).value = a.view.figures[key];
    fields.forEach((field, i) => {
      const [, current, breakEven, unit] = tableBody.rows[i].cells;
      const b = a.break_even[field];
      current.textContent = answer.inputs[field];
      if (b.value !== null) {
        breakEven.textContent = b.value;
      } else {
        // The reason takes the unit's place too.
        breakEven.textContent = b.why;
        breakEven.colSpan = 2;
        breakEven.className = 'why';
        unit.remove();
      }
    });
    showTornado(a.view.tornado);
    status.textContent = texts.done;
  }

  // The browser's worker, or null where it allows none.
  function workerOrNull() {
    if (worker !== undefined) return worker;
    try {
      worker = new Worker('analysis-worker.js');
      worker.addEventListener('message', ({ data }) => finished(data.id, data.answer ?? null));
      // A worker that cannot load (file://, a blocked script) hands its work back here.
      worker.addEventListener('error', (event) => {
        event.preventDefault();
        worker.terminate();
        worker = null;
        const id = runningId;
        runningId = 0;
        if (id) startIfNeeded();
      });
    } catch {
      worker = null;
    }
    return worker;
  }

  function finished(id, answer) {
    runningId = 0;
    if (id === latestId) {
      shownId = id;
      showAnswer(answer);
    }
    startIfNeeded();
  }

  // One analysis at a time: a scenario calculated meanwhile waits, and the
  // older answer is dropped, so quick Calculates never pile up work.
  function startIfNeeded() {
    if (latest === null || runningId !== 0 || shownId === latestId || section.hidden) return;
    runningId = latestId;
    const request = { id: latestId, texts: latest, separator };
    const w = workerOrNull();
    if (w) {
      w.postMessage(request);
      return;
    }
    // Here, once the browser has painted the busy text.
    requestAnimationFrame(() => setTimeout(async () => {
      let answer = null;
      try {
        await coreReady();
        answer = JSON.parse(analyseHere(JSON.stringify(request.texts), separator));
      } catch {
        // shown as a failed analysis
      }
      finished(request.id, answer);
    }, 0));
  }

  // The avoided CO₂ of the scenario last calculated: at once, here, as it
  // needs no worker; nothing while the view is closed or a run is under way.
  function showCo2() {
    if (section.hidden || latest === null) {
      co2.replaceChildren();
      return;
    }
    try {
      const answer = avoidedCo2(latest);
      co2.replaceChildren(answer.text ?? answer.error ?? '');
      if (answer.basis) co2.append(document.createElement('br'), answer.basis);
    } catch {
      co2.replaceChildren(texts.failed);
    }
  }

  function setOpen(open) {
    section.hidden = !open;
    toggle.setAttribute('aria-expanded', String(open));
    if (open) {
      showCo2();
      startIfNeeded();
      heading.focus();
      heading.scrollIntoView({ block: 'start' });
    }
  }

  toggle.addEventListener('click', () => setOpen(section.hidden));
  section.addEventListener('keydown', (event) => {
    // Esc closes it, as it closes a dialog, and returns to its button.
    if (event.key === 'Escape' && !dialog.open) {
      setOpen(false);
      toggle.focus();
    }
  });
  showPending();

  return {
    // F2: open it, or go to it.
    open: () => setOpen(true),
    // A run has begun: nothing of the former scenario stays shown.
    runStarted() {
      ++latestId;
      latest = null;
      showPending();
      showCo2();
    },
    // The run is over; these are the texts it left in the boxes.
    runFinished(boxTexts) {
      latest = boxTexts;
      showCo2();
      startIfNeeded();
    },
    // The run failed: there is no scenario to analyse.
    runFailed() {
      ++latestId;
      latest = null;
      showPending();
      showAnswer(null);
      showCo2();
    },
    // The helper wrote box 15, or a file named the carrier (or none).
    carrierChanged: showCo2,
  };
}
