// The page's risk view ("Kockázat"): how sure the payback of the last
// calculated scenario is. It lays out what the core hands over: its words
// (built into the page as #analysis-texts, under "risk"), the range rows it
// offers and follows, the problems of what was typed, the progress texts,
// the figures and the histogram's model, which it draws on a canvas. The
// runs go in a Web Worker (risk-worker.js) with the same core, so the same
// seed gives the same figures as the window and zeltano-eval; where the
// browser allows no worker (a page opened from disk) they go here, a
// stretch at a time, so the page still answers and "Mégse" still works.
// A classic script, like page.js, which starts it with createRiskView.
'use strict';

// `separator`: the decimal separator; `coreCall(name, ...args)` and
// `coreReady()`: the page's core; `dialog`: the page's message dialog.
// Returns { open, runStarted, runFinished, runFailed }.
function createRiskView({ separator, coreCall, coreReady, dialog }) {
  const { risk: texts, captions, chart: colours } = JSON.parse(document.getElementById('analysis-texts').textContent);
  const $ = (id) => document.getElementById(id);
  const section = $('Kockazat');
  const toggle = $('Kockazat-gomb');
  const heading = $('Kockazat-cim');
  const tbody = document.querySelector('#Tartomanyok tbody');
  const addable = $('Uj-adat');
  const addButton = $('Hozzaadas-gomb');
  const defaultsButton = $('Alapertekek-gomb');
  const runsBox = $('Futasok');
  const seedBox = $('Kezdoertek');
  const runButton = $('Futtatas-gomb');
  const cancelButton = $('Megse-gomb');
  const progress = $('Folyamat');
  const status = $('Kockazat-allapot');
  const canvas = $('Hisztogram');
  const figureCells = {
    payback: ['P10-megterules', 'P50-megterules', 'P90-megterules'].map($),
    balance: ['P10-egyenleg', 'P50-egyenleg', 'P90-egyenleg'].map($),
  };
  const COLUMNS = ['low', 'mode', 'high'];
  const COLUMN_WORDS = [texts.column_low, texts.column_mode, texts.column_high];

  let scenario = null;   // the box texts of the scenario last calculated
  let rows = [];         // [{field, low, mode, high}] as shown
  let running = null;    // {id, fallback}: the runs under way
  let shownView = null;  // the view on show, for redrawing
  let chartMessage = '';  // what the histogram says without a view
  let nextId = 1;
  let worker;            // undefined until first needed, null where none can run

  const rowsAnswer = (request) =>
    JSON.parse(coreCall('zr_risk_rows', JSON.stringify({ scenario, ...request }), separator));

  function setRows(answer) {
    if (!answer || !answer.rows) return;
    rows = answer.rows;
    tbody.replaceChildren(...rows.map((row, i) => {
      const tr = document.createElement('tr');
      const caption = captions[row.field].text;
      const th = document.createElement('th');
      th.scope = 'row';
      th.textContent = caption;
      tr.append(th);
      COLUMNS.forEach((key, c) => {
        const td = document.createElement('td');
        const input = document.createElement('input');
        Object.assign(input, { type: 'text', value: row[key], spellcheck: false, autocomplete: 'off' });
        input.inputMode = 'decimal';
        input.dataset.row = String(i);
        input.dataset.column = String(c);
        input.setAttribute('aria-label', `${caption}: ${COLUMN_WORDS[c]}`);
        input.addEventListener('input', () => {
          rows[i][key] = input.value;
          input.removeAttribute('aria-invalid');
        });
        input.addEventListener('keydown', (event) => {
          if (event.key === 'Enter') run();
        });
        td.append(input);
        tr.append(td);
      });
      const unit = document.createElement('td');
      unit.textContent = captions[row.field].unit;
      const remove = document.createElement('td');
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = '✕';
      button.setAttribute('aria-label', `${texts.remove}: ${caption}`);
      button.addEventListener('click', () => {
        if (running) return;
        setRows(rowsAnswer({ rows: rows.filter((_, j) => j !== i) }));
        (tbody.querySelector('button') ?? addable).focus();
      });
      remove.append(button);
      tr.append(unit, remove);
      return tr;
    }));
    addable.replaceChildren(...answer.addable.map((field) => new Option(captions[field].text, field)));
    addButton.disabled = answer.addable.length === 0 || running !== null;
  }

  // --- Results --------------------------------------------------------------

  function clearResult(text) {
    shownView = null;
    status.classList.remove('problem');
    status.textContent = text;
    $('Arany').value = '';
    $('Ertelmezes').textContent = '';
    $('Hibas').value = '';
    for (const cell of [...figureCells.payback, ...figureCells.balance]) cell.textContent = '';
    progress.max = 1;
    progress.value = 0;
    delete canvas.dataset.risk;
    drawHistogram(null, text);
  }

  function showResult(view, riskText) {
    shownView = view;
    status.classList.remove('problem');
    status.textContent = view.status;
    progress.value = progress.max;
    const f = view.figures;
    $('Arany').value = f.share;
    $('Ertelmezes').textContent = f.summary;
    $('Hibas').value = f.faults;
    f.payback.forEach((text, i) => { figureCells.payback[i].textContent = text; });
    f.balance.forEach((text, i) => { figureCells.balance[i].textContent = text; });
    // The evaluator's "risk" member as the core wrote it.
    canvas.dataset.risk = riskText;
    drawHistogram(view.histogram, f.summary);
  }

  function showProblem(problem) {
    status.classList.add('problem');
    let target;
    if (problem.row === null) {
      status.textContent = problem.message;
      target = problem.column === 'seed' ? seedBox : problem.column === 'runs' ? runsBox : null;
    } else {
      status.textContent = `${captions[rows[problem.row].field].text}: ${problem.message}`;
      target = tbody.querySelector(`input[data-row="${problem.row}"][data-column="${problem.column}"]`);
    }
    if (target) {
      target.setAttribute('aria-invalid', 'true');
      target.focus();
      target.select();
    }
  }

  // --- The histogram on its canvas -----------------------------------------

  const rgb = ([r, g, b]) => `rgb(${r}, ${g}, ${b})`;
  const barColours = { within: rgb(colours.within), beyond: rgb(colours.beyond), none: rgb(colours.none) };

  // Draws the core's model: bars across the plot from `left` to `right`,
  // `height` of the count scale's top; ticks at `at`. With no model, `message`.
  function drawHistogram(model, message) {
    chartMessage = message;
    // Nothing to draw while the view is closed; opening it draws.
    if (canvas.clientWidth === 0) return;
    const ratio = window.devicePixelRatio || 1;
    const cssWidth = canvas.clientWidth;
    const cssHeight = Math.max(1, canvas.clientHeight);
    canvas.width = Math.round(cssWidth * ratio);
    canvas.height = Math.round(cssHeight * ratio);
    const g = canvas.getContext('2d');
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.fillStyle = '#fff';
    g.fillRect(0, 0, cssWidth, cssHeight);
    const size = cssWidth < 480 ? 11 : 12;
    g.font = `${size}px Arial, "Liberation Sans", Arimo, Helvetica, sans-serif`;
    g.textBaseline = 'middle';
    g.fillStyle = '#000';
    if (!model || model.bars.length === 0) {
      canvas.setAttribute('aria-label', message || '');
      g.textAlign = 'center';
      g.fillText(message || '', cssWidth / 2, cssHeight / 2, cssWidth - 16);
      return;
    }
    canvas.setAttribute('aria-label', model.description);
    const margin = 8;
    const line = size + 4;
    const labelWidth = Math.max(...model.run_ticks.map((t) => g.measureText(t.text).width));
    const left = margin + labelWidth + 8;
    const right = cssWidth - margin;
    const top = margin + line * 1.5;
    const axis = cssHeight - margin - 2 * line;
    const x = (at) => left + at * (right - left);
    const y = (at) => axis - at * (axis - top);

    g.textAlign = 'left';
    g.fillText(texts.axis_runs, margin, margin + line / 2);
    for (const tick of model.run_ticks) {
      const ty = Math.round(y(tick.at)) + 0.5;
      if (tick.at > 0) {
        g.strokeStyle = '#ddd';
        g.beginPath();
        g.moveTo(left, ty);
        g.lineTo(right, ty);
        g.stroke();
      }
      g.textAlign = 'right';
      g.fillText(tick.text, left - 6, ty);
    }
    for (const bar of model.bars) {
      const bx = x(bar.left);
      const bw = x(bar.right) - bx;
      const bh = axis - y(bar.height);
      g.fillStyle = barColours[bar.kind];
      g.fillRect(bx, axis - bh, bw, bh);
      if (bar.runs > 0) {
        g.strokeStyle = '#505050';
        g.lineWidth = 1;
        g.strokeRect(Math.round(bx) + 0.5, Math.round(axis - bh) + 0.5, Math.max(0, Math.round(bw) - 1), Math.round(bh));
      }
    }
    g.strokeStyle = '#000';
    g.beginPath();
    g.moveTo(left, Math.round(axis) + 0.5);
    g.lineTo(right, Math.round(axis) + 0.5);
    g.moveTo(Math.round(left) + 0.5, axis);
    g.lineTo(Math.round(left) + 0.5, top);
    g.stroke();
    g.fillStyle = '#000';
    g.textAlign = 'center';
    // The last label ("nincs") always stands; a year label that would
    // overlap the one before it, or "nincs", is left out.
    const span = (tick) => {
      const width = g.measureText(tick.text).width;
      const centre = Math.min(Math.max(x(tick.at), width / 2), cssWidth - width / 2);
      return [centre - width / 2, centre + width / 2, centre];
    };
    const last = model.year_ticks.at(-1);
    const [noneStart] = span(last);
    let lastEnd = -Infinity;
    for (const tick of model.year_ticks) {
      const [start, end, centre] = span(tick);
      if (tick !== last && (start < lastEnd + 4 || end > noneStart - 4)) continue;
      lastEnd = end;
      g.fillText(tick.text, centre, axis + line / 2 + 2);
    }
    g.fillText(texts.axis_years, (left + right) / 2, axis + 1.5 * line + 2);
    if (model.period) {
      const px = Math.round(x(model.period.at)) + 0.5;
      g.setLineDash([4, 3]);
      g.beginPath();
      g.moveTo(px, top);
      g.lineTo(px, axis);
      g.stroke();
      g.setLineDash([]);
      const width = g.measureText(model.period.text).width;
      const tx = px + 6 + width <= right ? px + 6 : Math.max(left, px - 6 - width);
      g.fillStyle = 'rgba(255, 255, 255, 0.85)';
      g.fillRect(tx - 2, top - line / 2, width + 4, line);
      g.fillStyle = '#000';
      g.textAlign = 'left';
      g.fillText(model.period.text, tx, top);
    }
  }
  new ResizeObserver(() => drawHistogram(shownView?.histogram ?? null, chartMessage)).observe(canvas);

  // --- Running ---------------------------------------------------------------

  function setRunning(on) {
    runButton.disabled = on;
    cancelButton.disabled = !on;
    for (const control of [runsBox, seedBox, addable, defaultsButton, ...tbody.querySelectorAll('input, button')]) {
      control.disabled = on;
    }
    addButton.disabled = on || addable.options.length === 0;
    section.setAttribute('aria-busy', String(on));
    if (on) cancelButton.focus();
  }

  function workerOrNull() {
    if (worker !== undefined) return worker;
    try {
      worker = new Worker('risk-worker.js');
      worker.addEventListener('message', ({ data }) => answered(data));
      // A worker that cannot load (file://, a blocked script) hands its work back here.
      worker.addEventListener('error', (event) => {
        event.preventDefault();
        worker.terminate();
        worker = null;
        if (running && !running.fallback) runHere(running);
      });
    } catch {
      worker = null;
    }
    return worker;
  }

  function answered(data) {
    if (!running || data.id !== running.id) return;  // cancelled or overtaken
    if (data.progress) {
      progress.value = data.progress.done;
      status.textContent = data.progress.status;
      return;
    }
    running = null;
    setRunning(false);
    if (data.error) {
      clearResult(texts.failed);
    } else if (data.answer?.problem) {
      clearResult('');
      showProblem(data.answer.problem);
    } else if (data.answer) {
      clearResult(texts.failed);
    } else {
      showResult(data.view, data.riskText);
    }
  }

  // Where no worker runs: the same stretches here, between the browser's paints.
  async function runHere(job) {
    job.fallback = true;
    const { id, request } = job;
    const slice = () => new Promise((resolve) => setTimeout(resolve, 0));
    try {
      await coreReady();
      const started = JSON.parse(coreCall('zr_risk_start', JSON.stringify(request), separator));
      if (!('runs' in started)) {
        answered({ id, answer: started });
        return;
      }
      let step = { done: 0 };
      while (step.done < started.runs) {
        const sliceEnd = performance.now() + 30;
        do {
          step = JSON.parse(coreCall('zr_risk_step', 250));
        } while (step.done < started.runs && performance.now() < sliceEnd);
        answered({ id, progress: step });
        await slice();
        if (!running || running.id !== id) return;
      }
      const view = JSON.parse(coreCall('zr_risk_result', separator));
      answered({ id, view, riskText: coreCall('zr_risk_json', separator) });
    } catch (error) {
      answered({ id, error: String(error) });
    }
  }

  async function run() {
    if (running || scenario === null) return;
    for (const input of section.querySelectorAll('[aria-invalid]')) input.removeAttribute('aria-invalid');
    const request = { scenario, rows, runs: runsBox.value, seed: seedBox.value };
    let checked;
    try {
      await coreReady();
      // Read here first, so a wrong text is named at once.
      checked = JSON.parse(coreCall('zr_risk_start', JSON.stringify(request), separator));
    } catch {
      clearResult(texts.failed);
      return;
    }
    if (checked.problem) {
      showProblem(checked.problem);
      return;
    }
    if (!('runs' in checked)) {
      clearResult(texts.failed);
      return;
    }
    clearResult(checked.status);
    drawHistogram(null, '');
    progress.max = checked.runs;
    running = { id: nextId++, request, fallback: false };
    setRunning(true);
    const w = workerOrNull();
    if (w) w.postMessage({ type: 'run', id: running.id, request, separator });
    else runHere(running);
  }

  function cancel() {
    if (!running) return;
    if (!running.fallback && worker) worker.postMessage({ type: 'cancel', id: running.id });
    running = null;
    setRunning(false);
    clearResult(texts.cancelled);
    runButton.focus();
  }

  function setOpen(open) {
    section.hidden = !open;
    toggle.setAttribute('aria-expanded', String(open));
    if (open) {
      heading.focus();
      heading.scrollIntoView({ block: 'start' });
      drawHistogram(shownView?.histogram ?? null, chartMessage);
    } else {
      cancel();
    }
  }

  toggle.addEventListener('click', () => setOpen(section.hidden));
  runButton.addEventListener('click', () => run());
  cancelButton.addEventListener('click', () => cancel());
  for (const box of [runsBox, seedBox]) {
    box.addEventListener('input', () => box.removeAttribute('aria-invalid'));
    box.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') run();
    });
  }
  addButton.addEventListener('click', () => {
    if (running || scenario === null || !addable.value) return;
    setRows(rowsAnswer({ rows, add: addable.value }));
    tbody.querySelector(`input[data-row="${rows.length - 1}"]`)?.focus();
  });
  defaultsButton.addEventListener('click', () => {
    if (!running && scenario !== null) setRows(rowsAnswer({ reset: true }));
  });
  section.addEventListener('keydown', (event) => {
    // Esc stops the runs under way, else closes the view and returns to its button.
    if (event.key === 'Escape' && !dialog.open) {
      if (running) {
        cancel();
      } else {
        setOpen(false);
        toggle.focus();
      }
    }
  });
  clearResult(texts.not_run);

  return {
    // F3: open it, or go to it.
    open: () => setOpen(true),
    // A run has begun: runs under way and figures on show belonged to the former scenario.
    runStarted() {
      const had = running !== null || shownView !== null;
      if (running) {
        if (!running.fallback && worker) worker.postMessage({ type: 'cancel', id: running.id });
        running = null;
        setRunning(false);
      }
      if (had) clearResult(texts.stale);
    },
    // The run is over; these are the texts it left in the boxes.
    runFinished(boxTexts) {
      const former = scenario;
      scenario = boxTexts;
      try {
        setRows(rowsAnswer(former === null ? {} : { rows, former }));
      } catch {
        // the rows stay as they are
      }
    },
    // The run failed: there is no scenario to run.
    runFailed() {
      this.runStarted();
      scenario = null;
    },
  };
}
