// The page's front end. It computes nothing itself: it hands the sixteen box
// texts to the core (WebAssembly), shows the core's messages, writes its
// replacements and labels, and performs its chart operations on a canvas,
// as the desktop window does. A classic script (not a module), so the page
// also runs when opened from a folder (file://).
'use strict';

(async () => {
  // The core. A call that fails inside it (a trap) may have left its memory
  // in any state, so the calls after such a failure go to a new instance.
  // The core's script comes after this one, so that a first visit's results
  // (below) need not wait for its download.
  const coreScript = document.querySelector('script[src="zeltano-core.js"]');
  const coreLoaded = new Promise((resolve, reject) => {
    coreScript.addEventListener('load', resolve, { once: true });
    coreScript.addEventListener('error', reject, { once: true });
  }).then(() => createZeltanoCore());
  const form = document.getElementById('Picture2');
  const boxes = [...form.querySelectorAll('input')];
  const fields = boxes.map((box) => box.name);
  const readBoxes = () => Object.fromEntries(boxes.map((box) => [box.name, box.value]));
  function writeBoxes(texts) {
    for (const box of boxes) if (typeof texts[box.name] === 'string') box.value = texts[box.name];
  }
  // The core's verdict on the run, under the results.
  const verdict = document.getElementById('Osszegzes');
  // The chart box: chart-canvas.js.
  const chart = createChartCanvas(document.getElementById('chart'), (value) => realText(value, separator));

  // --- A first visit, while the WebAssembly loads ------------------------------------

  // The start-up run's outcome, as the core answered it when the page was
  // built (with the comma, the chart's values already printed), is shown at
  // once; only where it is exactly what the run will show: no scenario in
  // the address, no text in the boxes (a browser may restore some), and the
  // comma as the regional separator. The run on the core replaces it.
  const intlDecimal = () => {
    try {
      return new Intl.NumberFormat(navigator.language || 'hu').formatToParts(0.5)
        .find((p) => p.type === 'decimal')?.value;
    } catch {
      return undefined;  // an unknown language tag
    }
  };
  const prebuilt = (() => {
    const { startup } = JSON.parse(document.getElementById('analysis-texts').textContent);
    const params = new URLSearchParams(window.location.search);
    if (boxes.some((box) => params.has(box.name) || box.value !== '')) return null;
    if ((intlDecimal() ?? ',') !== ',') return null;
    writeBoxes(startup.texts);
    for (const [name, text] of Object.entries(startup.labels)) document.getElementById(name).value = text ?? '';
    verdict.textContent = startup.verdict;
    chart.redraw();  // sized to the page's layout first
    chart.perform(startup.chart);
    performance.mark('zeltano-first-results');
    return startup;
  })();

  let core = await coreLoaded;
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
    const decimal = intlDecimal();
    return decimal && usableSeparator(decimal) ? decimal : ',';
  }
  const separator = regionalSeparator();

  const calculateButton = document.getElementById('Command1');
  const dialog = document.getElementById('message');
  const announce = document.getElementById('announce');

  // A lone surrogate (pasted text can hold one) is no UTF-8: it goes to the
  // core as U+FFFD, as the window's toolkit passes it.
  const wellFormed = (text) => text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD');
  // The core's outcome for the texts, or {error} when the run failed.
  const lineOf = (texts) => JSON.stringify(Object.fromEntries(Object.entries(texts).map(([f, t]) => [f, wellFormed(t)])));
  const evaluate = async (texts) => {
    const line = lineOf(texts);
    try {
      await coreReady();
      return JSON.parse(coreCall('zr_evaluate', line, separator));
    } catch (error) {
      return { error: String(error) };
    }
  };

  // --- Messages ------------------------------------------------------------------

  // Shows one message modally; resolves when the user has closed it. A
  // message about a box names it by its caption; one about a file command
  // has that command's title instead of the wrong-data one.
  const messageTitle = document.getElementById('message-title');
  const WRONG_DATA = messageTitle.textContent;
  function showMessage(text, field = null, title = WRONG_DATA) {
    messageTitle.textContent = title;
    const caption = field && document.querySelector(`label[for="${field}b"]`);
    document.getElementById('message-box').textContent = caption ? caption.textContent.trim() : '';
    document.getElementById('message-text').textContent = text;
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => resolve(), { once: true });
      dialog.showModal();
    });
  }

  // --- The analysis view: analysis-view.js -------------------------------------------

  // The energy carrier the solar heat replaces, as the helper last wrote box
  // 15 with it or a scenario file names it: its keys as the file holds them
  // ({Energiahordozo, Egysegar, Hatasfok, Co2tenyezo}), null while unknown.
  let carrier = null;
  // The avoided CO₂ of box texts with the carrier: {text, basis} from the core.
  const avoidedCo2 = (texts) => JSON.parse(coreCall('zr_avoided_co2', lineOf({ ...texts, ...carrier }), separator));
  const analysisView = createAnalysisView({ fields, separator, analyseHere, coreReady, dialog, avoidedCo2 });
  function setCarrier(keys) {
    carrier = keys;
    analysisView.carrierChanged();
  }

  // --- The energy price helper: price-helper.js ----------------------------------

  createPriceHelper({
    box: document.getElementById('Energiaarb'),
    coreCall,
    separator,
    known: () => carrier,
    written: setCarrier,
  });
  // --- The risk view: risk-view.js ---------------------------------------------------
  const riskView = createRiskView({ separator, coreCall, coreReady, dialog });

  // --- The variants view: variants-view.js -------------------------------------------

  const variantsView = createVariantsView({
    fields,
    compare: (request) => JSON.parse(coreCall('zr_compare', request, separator)),
    parseScenario: (text) => JSON.parse(coreCall('zr_parse_scenario', text, separator)),
    scenarioText: (texts) => coreCall('zr_scenario_text', lineOf(texts), separator),
    current: () => readBoxes(),
    realText: (value) => realText(value, separator),
    showMessage,
    coreReady,
  });

  // --- Calculate -----------------------------------------------------------------

  let running = false;
  const RUN_FAILED = 'A számítás nem sikerült.';

  // Applies one run's outcome in the window's order: the chart is cleared,
  // each wrong box is reported and then gets its replacement, an overflow is
  // reported, the labels are written, the chart is drawn. Returns the texts
  // after the run.
  async function apply(outcome) {
    running = true;
    analysisView.runStarted();
    riskView.runStarted();
    try {
      chart.perform(outcome.chart.slice(0, 2));
      for (const finding of outcome.findings) {
        await showMessage(finding.message, finding.field);
        // The box with its replacement takes the focus, so a screen reader
        // reads the new text once, with the box's caption.
        const wrong = document.getElementById(`${finding.field}b`);
        wrong.value = finding.replacement;
        wrong.focus();
      }
      if (outcome.fault !== null) await showMessage(outcome.fault);
      for (const [name, text] of Object.entries(outcome.labels)) {
        document.getElementById(name).value = text ?? '';
      }
      chart.perform(outcome.chart.slice(2));
      verdict.textContent = outcome.verdict;
      const said = (id) => document.getElementById(id).textContent.trim();
      // The run's one announcement, the payback and the verdict; the figures
      // themselves are no live regions.
      announce.textContent = `${said('Label28')} ${said('L')} ${outcome.verdict}`;
      const texts = readBoxes();
      analysisView.runFinished(texts);
      riskView.runFinished(texts);
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
      riskView.runFailed();
      chart.perform([{ op: 'Cls' }]);
      for (const output of document.querySelectorAll('output')) output.value = '';
      verdict.textContent = '';
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

  // --- The scenario in the URL: scenario-link.js ------------------------------------

  const link = createScenarioLink(fields, separator, usableSeparator);

  async function calculateAndRemember() {
    if (running || dialog.open) return;
    const texts = await calculate();
    if (texts === null) return;
    const url = link.urlFor(texts);
    if (url !== window.location.search) window.history.pushState(null, '', url);
  }

  // The boxes get the start-up texts, then the texts the URL names; without
  // any, the start-up run's outcome is shown as it is. The run takes the
  // URL's texts as they are: a box drops line breaks from its value, and a
  // link's "1%0A2" is a wrong text, not 12; the box shows the wrong text as
  // it can until its replacement comes.
  async function showScenarioFromUrl(startup) {
    writeBoxes(startup.texts);
    const named = link.textsFromUrl();
    if (Object.keys(named).length === 0) {
      await apply(startup);
      return;
    }
    writeBoxes(named);
    const texts = await calculate({ ...readBoxes(), ...named });
    if (texts !== null) window.history.replaceState(null, '', link.urlFor(texts));
  }

  // --- Scenario files: scenario-files.js -------------------------------------------

  const files = createScenarioFiles({
    coreCall, coreReady, separator, lineOf,
    read: () => ({ ...readBoxes(), ...carrier }),
    write: (texts, keys) => {
      writeBoxes(texts);
      setCarrier(keys);
    },
    calculate: calculateAndRemember, showMessage,
  });
  const fileInput = document.getElementById('Megnyitas-fajl');
  document.getElementById('Mentes-gomb').addEventListener('click', () => {
    if (!running && !dialog.open) files.save();
  });
  document.getElementById('Megnyitas-gomb').addEventListener('click', () => {
    if (!running && !dialog.open) fileInput.click();
  });
  fileInput.addEventListener('change', () => {
    const [file] = fileInput.files;
    fileInput.value = '';  // the same file again is a new choice
    if (file && !running && !dialog.open) files.open(file);
  });

  createSharePrint({
    copyButton: document.getElementById('Link-gomb'),
    printButton: document.getElementById('Nyomtatas-gomb'),
    announce,
    showMessage,
  });

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
    if (event.key === 'F3' && !event.altKey && !event.ctrlKey && !event.metaKey && !dialog.open) {
      event.preventDefault();
      riskView.open();
    }
    if (event.key === 'F6' && !event.altKey && !event.ctrlKey && !event.metaKey && !dialog.open) {
      event.preventDefault();
      variantsView.open();
    }
  });
  // The start-up run gives the boxes their texts and the window its figures.
  const startup = await evaluate({});
  window.addEventListener('popstate', () => {
    if (!running) showScenarioFromUrl(startup);
  });
  chart.redraw();
  if (prebuilt && Object.entries(readBoxes()).some(([field, text]) => text !== prebuilt.texts[field])) {
    // Typed into while the core was loading: those texts are the run's.
    await calculate();
  } else {
    await showScenarioFromUrl(startup);
  }
  if (!prebuilt) performance.mark('zeltano-first-results');
  document.documentElement.dataset.ready = 'true';
})();
