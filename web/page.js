// The page's front end. It computes nothing itself: it hands the sixteen box
// texts to the core (WebAssembly), shows the core's messages, writes its
// replacements and labels, and performs its chart operations on a canvas,
// as the desktop window does. A classic script (not a module), so the page
// also runs when opened from a folder (file://).
'use strict';

(async () => {
  const TWIPS_PER_PIXEL = 15;
  const CHART_WIDTH = 429;  // the chart box's drawing area in pixels (6495 twips less the border)

  // The core. A call that fails inside it (a trap) may have left its memory
  // in any state, so the calls after such a failure go to a new instance.
  let core = await createZeltanoCore();
  let renewed = null;  // the new instance on its way
  function coreCall(name, ...args) {
    try {
      return core.callText(name, ...args);
    } catch (error) {
      renewed ??= createZeltanoCore();
      throw error;
    }
  }
  async function coreReady() {
    if (renewed) {
      core = await renewed;
      renewed = null;
    }
  }
  const realText = (value, separator) => coreCall('zr_real_text', value, separator);
  const analyseHere = (line, separator) => coreCall('zr_analyse', line, separator);
  // Whether the evaluator would take `text` as its decimal separator.
  const usableSeparator = (text) => coreCall('zr_separator_problem', text) === '';

  // The browser language's decimal separator; the Hungarian comma when the
  // browser names none that a number text could use.
  function regionalSeparator() {
    try {
      const parts = new Intl.NumberFormat(navigator.language || 'hu').formatToParts(0.5);
      const decimal = parts.find((p) => p.type === 'decimal')?.value;
      if (decimal && usableSeparator(decimal)) return decimal;
    } catch {
      // an unknown language tag: keep the default
    }
    return ',';
  }
  const separator = regionalSeparator();

  const form = document.getElementById('Picture2');
  const boxes = [...form.querySelectorAll('input')];
  const fields = boxes.map((box) => box.name);
  const calculateButton = document.getElementById('Command1');
  const dialog = document.getElementById('message');
  const announce = document.getElementById('announce');
  const canvas = document.getElementById('chart');

  // A lone surrogate (pasted text can hold one) is no UTF-8: it goes to the
  // core as U+FFFD, as the window's toolkit passes it.
  const wellFormed = (text) => text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD');
  // The core's outcome for the texts, or {error} when the run failed.
  const evaluate = async (texts) => {
    const line = JSON.stringify(Object.fromEntries(Object.entries(texts).map(([f, t]) => [f, wellFormed(t)])));
    try {
      await coreReady();
      return JSON.parse(coreCall('zr_evaluate', line, separator));
    } catch (error) {
      return { error: String(error) };
    }
  };

  // --- The chart box -------------------------------------------------------------

  // Performs drawing operations and keeps those since the last clear, so the
  // drawing can be made again at another size or pixel ratio.
  const chart = {
    kept: [],
    state: null,

    perform(operations) {
      for (const op of operations) {
        if (op.op === 'Cls') this.kept = [];
        this.kept.push(op);
      }
      this.draw(operations);
    },

    redraw() {
      const ratio = window.devicePixelRatio || 1;
      const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
      const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
      }
      this.draw(this.kept);
    },

    draw(operations) {
      const context = canvas.getContext('2d');
      const ratio = canvas.width / Math.max(1, canvas.clientWidth);
      const scale = canvas.clientWidth / CHART_WIDTH / TWIPS_PER_PIXEL;  // twips to CSS pixels
      const device = (twips) => twips * scale * ratio;
      context.setTransform(1, 0, 0, 1, 0, 0);
      this.state ??= { width: 1, color: 'rgb(0,0,0)', x: 0, y: 0 };
      const state = this.state;
      const rgb = ([r, g, b]) => `rgb(${r},${g},${b})`;
      for (const op of operations) {
        switch (op.op) {
          case 'Cls':
            context.fillStyle = getComputedStyle(canvas).backgroundColor;
            context.fillRect(0, 0, canvas.width, canvas.height);
            state.x = state.y = 0;
            break;
          case 'DrawWidth':
            state.width = op.width;
            break;
          case 'Line': {
            const width = Math.max(1, Math.round(Math.max(state.width, 1) * ratio));
            let [x1, y1, x2, y2] = [op.x1, op.y1, op.x2, op.y2].map(device);
            context.lineCap = 'round';
            if (x1 === x2 || y1 === y2) {
              // Axes and marks on whole device pixels, square ended: crisp.
              const snap = (v) => (width % 2 ? Math.round(v - 0.5) + 0.5 : Math.round(v));
              [x1, y1, x2, y2] = [x1, y1, x2, y2].map(snap);
              context.lineCap = 'square';
            }
            context.strokeStyle = rgb(op.color);
            context.lineWidth = width;
            context.beginPath();
            context.moveTo(x1, y1);
            context.lineTo(x2, y2);
            context.stroke();
            break;
          }
          case 'ForeColor':
            state.color = rgb(op.color);
            break;
          case 'CurrentX':
            state.x = op.x;
            break;
          case 'CurrentY':
            state.y = op.y;
            break;
          case 'FontName':
            break;  // the chart always asks for the default face
          case 'Print': {
            const text = 'text' in op ? op.text : 'int' in op ? String(op.int) : realText(op.real, separator);
            const size = Math.max(8, 11 * scale * TWIPS_PER_PIXEL) * ratio;
            context.font = `${size}px Arial, "Liberation Sans", Arimo, Helvetica, sans-serif`;
            context.textBaseline = 'top';
            context.fillStyle = state.color;
            context.fillText(text, device(state.x), device(state.y));
            break;
          }
          default:
            break;
        }
      }
      // The chart's own words name it for a screen reader.
      canvas.setAttribute('aria-label', this.kept.filter((op) => op.op === 'Print' && 'text' in op)
        .map((op) => op.text).join(' '));
    },
  };
  new ResizeObserver(() => chart.redraw()).observe(canvas);
  // A new pixel ratio (zoom, another screen) changes no CSS size: watch it too.
  (function watchPixelRatio() {
    matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`)
      .addEventListener('change', () => {
        chart.redraw();
        watchPixelRatio();
      }, { once: true });
  })();

  // --- Messages ------------------------------------------------------------------

  // Shows one message modally; resolves when the user has closed it.
  function showMessage(text) {
    document.getElementById('message-text').textContent = text;
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => resolve(), { once: true });
      dialog.showModal();
    });
  }

  // --- The analysis view ("Elemzés") -------------------------------------------------

  // Shows what would make the last calculated scenario pay off. The work runs
  // in a Web Worker with the same core; where the browser allows none (a page
  // opened from disk) it runs here, after the browser has shown "Számítás…".
  // A figure is only ever shown for the scenario last calculated.
  const analysisView = (() => {
    const section = document.getElementById('Elemzes');
    const toggle = document.getElementById('Elemzes-gomb');
    const heading = document.getElementById('Elemzes-cim');
    const status = document.getElementById('Allapot');
    const tableBody = document.querySelector('#Kuszobertekek tbody');
    const tornado = document.getElementById('Tornado');
    const axis = document.querySelector('.tornado-axis .track');
    const baseText = document.getElementById('Tornado-alap');
    const figureIds = ['NPV', 'BelsoRata', 'EgyszeruMegterules'];
    const BUSY = 'Számítás…';
    const DONE = 'Az elemzés a legutóbb kiszámított adatokra vonatkozik (a javított szövegekre, ha volt hibás mező).';
    const FAILED = 'Az elemzés nem sikerült.';
    const NOT_COMPUTABLE = 'nem számítható ki';
    const OUT_OF_RANGE = 'tartományon kívül';
    const FAULT = 'nem számítható';
    const NO_PAYBACK = 'nincs';

    // The captions as the page shows them, without the colon, the unit apart.
    const trimEnd = (text) => text.replace(/[\s:,]+$/u, '');
    const captions = Object.fromEntries(fields.map((field) => {
      const shown = trimEnd(document.querySelector(`label[for="${field}b"]`).textContent);
      const unit = /^(.*)\[([^\]]*)\]$/su.exec(shown);
      return [field, unit ? { text: trimEnd(unit[1]), unit: unit[2] } : { text: shown, unit: '' }];
    }));

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
      status.textContent = BUSY;
      section.setAttribute('aria-busy', 'true');
      for (const id of figureIds) document.getElementById(id).value = '';
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

    const number = (text) => Number(text.replace(separator, '.'));
    // One end of a bar: the ±20 % case, or the ±10 % one when only ±20 % leaves the range.
    function endOf(outer, inner) {
      const c = outer.out_of_range && !inner.out_of_range ? inner : outer;
      const percent = `${c.percent < 0 ? '−' : '+'}${Math.abs(c.percent)} %`;
      if (c.out_of_range) return { percent, text: OUT_OF_RANGE, years: null };
      if (c.fault || c.L === null) return { percent, text: FAULT, years: null };
      return { percent, text: c.L, years: c.L === NO_PAYBACK ? Infinity : number(c.L) };
    }

    function showTornado(answer) {
      const base = answer.L === null ? null : answer.L === NO_PAYBACK ? Infinity : number(answer.L);
      baseText.textContent = answer.L ?? FAULT;
      const bars = Object.entries(answer.analysis.sensitivity).map(([field, cases]) => {
        const bar = { field, minus: endOf(cases[0], cases[1]), plus: endOf(cases[3], cases[2]) };
        const values = [bar.minus.years, bar.plus.years, base].filter((v) => v !== null);
        const lo = Math.min(...values);
        bar.spread = values.length === 0 || lo === Infinity ? 0 : Math.max(...values) - lo;
        return bar;
      });
      // The widest first; ties keep the order of the boxes (the sort is stable).
      bars.sort((a, b) => (b.spread === a.spread ? 0 : b.spread > a.spread ? 1 : -1));

      const times = [base, ...bars.flatMap((b) => [b.minus.years, b.plus.years])]
        .filter((v) => v !== null && v !== Infinity);
      const anyNone = [base, ...bars.flatMap((b) => [b.minus.years, b.plus.years])].includes(Infinity);
      let lo = times.length ? Math.min(...times) : 0;
      let hi = times.length ? Math.max(...times) : 100;
      // Ticks 1, 2 or 5 times a power of ten, about a fifth of the span apart.
      const raw = Math.max(hi - lo, 0.5) / 5;
      const power = 10 ** Math.floor(Math.log10(raw));
      const step = [1, 2, 5, 10].map((m) => m * power).find((m) => m >= raw);
      lo = Math.max(0, Math.floor(lo / step) * step);
      hi = Math.ceil(hi / step) * step;
      if (hi <= lo) hi = lo + step;
      const plotEnd = anyNone ? 88 : 100;  // per cent of the track; the rest is the "nincs" band
      const x = (years) => (years === Infinity ? 94 : ((years - lo) / (hi - lo)) * plotEnd);

      const band = () => {
        const element = cell('span', '', { class: 'none-band' });
        element.style.left = `${plotEnd}%`;
        return element;
      };
      tornado.replaceChildren(...bars.map((bar) => {
        const item = document.createElement('li');
        const track = cell('span', '', { class: 'track', 'aria-hidden': 'true' });
        if (anyNone) track.append(band());
        const values = [bar.minus.years, bar.plus.years].filter((v) => v !== null);
        const anchor = base !== null ? x(base) : values.length ? Math.min(...values.map(x)) : 0;
        for (const [side, end] of [['minus', bar.minus], ['plus', bar.plus]]) {
          if (end.years === null) continue;
          const span = cell('span', '', { class: `bar ${side}${end.years === Infinity ? ' none' : ''}` });
          span.style.left = `${Math.min(anchor, x(end.years))}%`;
          span.style.width = `${Math.max(0.4, Math.abs(x(end.years) - anchor))}%`;
          track.append(span);
        }
        if (base !== null) {
          const line = cell('span', '', { class: 'base' });
          line.style.left = `${x(base)}%`;
          track.append(line);
        }
        item.append(cell('span', captions[bar.field].text, { class: 'name' }),
          cell('span', `${bar.minus.percent}: ${bar.minus.text}`, { class: `end minus${bar.minus.years === null ? ' missing' : ''}` }),
          track,
          cell('span', `${bar.plus.percent}: ${bar.plus.text}`, { class: `end plus${bar.plus.years === null ? ' missing' : ''}` }));
        return item;
      }));
      const ticks = [];
      for (let t = lo; t <= hi + step / 2; t += step) {
        const tick = cell('span', realText(t, separator), { class: 'tick' });
        tick.style.left = `${x(t)}%`;
        ticks.push(tick);
      }
      if (anyNone) {
        const none = cell('span', NO_PAYBACK, { class: 'tick' });
        none.style.left = '94%';
        ticks.push(band(), none);
      }
      axis.replaceChildren(...ticks);
    }

    function showAnswer(answer) {
      section.removeAttribute('aria-busy');
      if (!answer || !answer.analysis) {
        status.textContent = FAILED;
        return;
      }
      const a = answer.analysis;
      document.getElementById('NPV').value = a.npv ?? NOT_COMPUTABLE;
      document.getElementById('BelsoRata').value = a.internal_rate.value ?? a.internal_rate.why;
      document.getElementById('EgyszeruMegterules').value = a.simple_payback;
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
      showTornado(answer);
      status.textContent = DONE;
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
      // Here, once the browser has painted "Számítás…".
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

    function setOpen(open) {
      section.hidden = !open;
      toggle.setAttribute('aria-expanded', String(open));
      if (open) {
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
      },
      // The run is over; these are the texts it left in the boxes.
      runFinished(texts) {
        latest = texts;
        startIfNeeded();
      },
      // The run failed: there is no scenario to analyse.
      runFailed() {
        ++latestId;
        latest = null;
        showPending();
        showAnswer(null);
      },
    };
  })();

  // --- Calculate -----------------------------------------------------------------

  const readBoxes = () => Object.fromEntries(boxes.map((box) => [box.name, box.value]));
  function writeBoxes(texts) {
    for (const box of boxes) if (typeof texts[box.name] === 'string') box.value = texts[box.name];
  }

  let running = false;
  const RUN_FAILED = 'A számítás nem sikerült.';

  // Applies one run's outcome in the window's order: the chart is cleared,
  // each wrong box is reported and then gets its replacement, an overflow is
  // reported, the labels are written, the chart is drawn. Returns the texts
  // after the run.
  async function apply(outcome) {
    running = true;
    analysisView.runStarted();
    try {
      chart.perform(outcome.chart.slice(0, 2));
      for (const finding of outcome.findings) {
        await showMessage(finding.message);
        document.getElementById(`${finding.field}b`).value = finding.replacement;
      }
      if (outcome.fault !== null) await showMessage(outcome.fault);
      for (const [name, text] of Object.entries(outcome.labels)) {
        document.getElementById(name).value = text ?? '';
      }
      chart.perform(outcome.chart.slice(2));
      const said = (id) => document.getElementById(id).textContent.trim();
      announce.textContent = `${said('Label28')} ${said('L')}; ${said('Label27')} ${said('Egyenlegb')}`;
      const texts = readBoxes();
      analysisView.runFinished(texts);
      return texts;
    } finally {
      running = false;
    }
  }

  // A run that failed (the core answered an error, or failed itself): the
  // former results are cleared, so none stands beside texts it was not
  // calculated from. Returns null.
  async function failed() {
    running = true;
    try {
      analysisView.runFailed();
      chart.perform([{ op: 'Cls' }]);
      for (const output of document.querySelectorAll('output')) output.value = '';
      announce.textContent = RUN_FAILED;
      await showMessage(RUN_FAILED);
      return null;
    } finally {
      running = false;
    }
  }

  // One calculation run, by default on the texts the boxes hold; the texts
  // after it, or null when it failed.
  const calculate = async (texts = readBoxes()) => {
    running = true;  // also while a new core is on its way
    const outcome = await evaluate(texts);
    return 'error' in outcome ? failed() : apply(outcome);
  };

  // --- The scenario in the URL -----------------------------------------------------

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

  async function calculateAndRemember() {
    if (running || dialog.open) return;
    const texts = await calculate();
    if (texts === null) return;
    const url = urlFor(texts);
    if (url !== window.location.search) window.history.pushState(null, '', url);
  }

  // The boxes get the start-up texts, then the texts the URL names; without
  // any, the start-up run's outcome is shown as it is. The run takes the
  // URL's texts as they are: a box drops line breaks from its value, and a
  // link's "1%0A2" is a wrong text, not 12; the box shows the wrong text as
  // it can until its replacement comes.
  async function showScenarioFromUrl(startup) {
    writeBoxes(startup.texts);
    const named = textsFromUrl();
    if (Object.keys(named).length === 0) {
      await apply(startup);
      return;
    }
    writeBoxes(named);
    const texts = await calculate({ ...readBoxes(), ...named });
    if (texts !== null) window.history.replaceState(null, '', urlFor(texts));
  }

  // --- Start-up ------------------------------------------------------------------

  form.addEventListener('submit', (event) => event.preventDefault());
  calculateButton.addEventListener('click', () => calculateAndRemember());
  document.addEventListener('keydown', (event) => {
    // Alt+S presses Calculate, in either letter case. Enter in a box does not.
    const s = event.code === 'KeyS' || event.key.toLowerCase() === 's';
    if (s && event.altKey && !event.ctrlKey && !event.metaKey) {
      event.preventDefault();
      calculateButton.focus();
      calculateAndRemember();
    }
    if (event.key === 'F2' && !event.altKey && !event.ctrlKey && !event.metaKey && !dialog.open) {
      event.preventDefault();
      analysisView.open();
    }
  });
  // The start-up run gives the boxes their texts and the window its figures.
  const startup = await evaluate({});
  window.addEventListener('popstate', () => {
    if (!running) showScenarioFromUrl(startup);
  });
  chart.redraw();
  await showScenarioFromUrl(startup);
  performance.mark('zeltano-first-results');
  document.documentElement.dataset.ready = 'true';
})();
