// The page's variants view ("Változatok"): two to four scenarios side by
// side, from the current scenario and from saved scenario files. It lays
// out what the core hands over (zr_compare): the table with its marks, and
// the chart of every variant's curves, drawn by chart-canvas.js. Its words
// are the core's (#analysis-texts), the captions the form's.
// A classic script, like page.js, which starts it with createVariantsView.
'use strict';

// `fields`: the input names in box order; `compare(request)`: the core's
// zr_compare answer; `parseScenario(text)`: zr_parse_scenario's answer;
// `scenarioText(texts)`: the file's content for the texts; `current()`: the
// boxes' texts; `realText`: the chart's number text; `showMessage`: the
// page's message dialog. Returns { open, toggle }.
function createVariantsView({ fields, compare, parseScenario, scenarioText, current, realText, showMessage, coreReady }) {
  const all = JSON.parse(document.getElementById('analysis-texts').textContent);
  const words = all.variants;
  const { captions } = all;
  const section = document.getElementById('Valtozatok');
  const toggleButton = document.getElementById('Valtozatok-gomb');
  const heading = document.getElementById('Valtozatok-cim');
  const status = document.getElementById('Valtozat-allapot');
  const table = document.getElementById('Valtozat-tabla');
  const fileInput = document.getElementById('Valtozat-fajl');
  const addCurrent = document.getElementById('Valtozat-jelenlegi');
  const addFile = document.getElementById('Valtozat-megnyitas');
  const save = document.getElementById('Valtozat-mentes');
  const chart = createChartCanvas(document.getElementById('Valtozat-grafikon'), realText);
  const MAX = 4;
  const SUFFIX = '.zeltano.json';

  const variants = [];  // {name, texts}

  const element = (tag, text, attributes = {}) => {
    const made = document.createElement(tag);
    if (text !== undefined) made.textContent = text;
    for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
    return made;
  };
  // A row's caption: the form's, split from its unit by the core, or the core's.
  function captionOf(row) {
    if (row.kind === 'input' || row.kind === 'result') {
      const { text, unit } = captions[row.key];
      return unit ? `${text} [${unit}]` : text;
    }
    const key = { npv: 'npv_caption', internal_rate: 'internal_rate_caption' }[row.kind];
    return key ? all.texts[key].replace(/:$/, '') : words.verdict_caption;
  }

  function show() {
    addCurrent.disabled = addFile.disabled = variants.length >= MAX;
    save.disabled = variants.length === 0;
    status.textContent = variants.length < 2 ? words.too_few : variants.length === MAX ? words.full : '';
    const head = element('tr');
    head.append(element('th', '', { scope: 'col' }));
    const body = [];
    if (variants.length < 2) {
      for (const [i, variant] of variants.entries()) head.append(columnHead(variant.name, i));
      table.tHead.replaceChildren(head);
      table.tBodies[0].replaceChildren(...(variants.length === 0 ? [] : fields.map((field) => {
        const row = element('tr');
        row.append(element('th', captionOf({ kind: 'input', key: field }), { scope: 'row' }),
          element('td', variants[0].texts[field] ?? ''));
        return row;
      })));
      chart.perform([{ op: 'Cls' }]);
      return;
    }
    const answer = compare(JSON.stringify({ variants }));
    if ('error' in answer) {
      status.textContent = answer.error;
      return;
    }
    for (const [i, name] of answer.names.entries()) head.append(columnHead(name, i));
    for (const row of answer.rows) {
      const line = element('tr', undefined, row.differs ? { class: 'differs' } : {});
      const caption = captionOf(row);
      line.append(element('th', row.differs ? `${words.differs} ${caption}` : caption, { scope: 'row' }));
      for (const [i, text] of row.cells.entries()) {
        const marked = row.marked?.[i];
        const cell = element('td', marked ? `${text} ${row.key === 'L' ? words.shortest_payback : words.best_balance}` : text);
        if (marked) cell.className = 'marked';
        if (row.kind === 'verdict') cell.className = 'verdict';
        line.append(cell);
      }
      body.push(line);
    }
    table.tHead.replaceChildren(head);
    table.tBodies[0].replaceChildren(...body);
    chart.perform(answer.chart);
  }

  // A column's head: the variant's name and its remove button.
  function columnHead(name, index) {
    const th = element('th', undefined, { scope: 'col' });
    const remove = element('button', words.remove, { type: 'button', 'aria-label': `${words.remove}: ${name}` });
    remove.addEventListener('click', () => {
      variants.splice(index, 1);
      show();
    });
    th.append(element('span', name), remove);
    return th;
  }

  function add(variant) {
    if (variants.length >= MAX) return false;
    variants.push(variant);
    show();
    return true;
  }

  async function addFiles(files) {
    await coreReady();
    for (const file of files) {
      if (variants.length >= MAX) {
        await showMessage(words.full, null, words.title);
        break;
      }
      const answer = parseScenario(await file.text());
      if ('error' in answer) {
        await showMessage(`${all.scenario.cannotOpen}\n${file.name}\n\n${answer.error}`, null, all.scenario.openTitle);
        continue;
      }
      const name = file.name.endsWith(SUFFIX) ? file.name.slice(0, -SUFFIX.length) : file.name.replace(/\.[^.]*$/, '');
      add({ name, texts: answer.texts });
    }
  }

  // Each variant downloads as a scenario file named after it.
  async function saveAll() {
    await coreReady();
    for (const variant of variants) {
      const link = element('a');
      link.href = URL.createObjectURL(new Blob([scenarioText(variant.texts)], { type: 'application/json' }));
      link.download = variant.name.replace(/[\\/\u0000-\u001f]/g, '_') + SUFFIX;
      document.body.append(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
    }
  }

  addCurrent.addEventListener('click', () => add({ name: words.current, texts: current() }));
  addFile.addEventListener('click', () => fileInput.click());
  fileInput.addEventListener('change', () => {
    const chosen = [...fileInput.files];
    fileInput.value = '';
    addFiles(chosen);
  });
  save.addEventListener('click', () => saveAll());
  section.addEventListener('dragover', (event) => event.preventDefault());
  section.addEventListener('drop', (event) => {
    event.preventDefault();
    addFiles([...event.dataTransfer.files]);
  });

  function open() {
    section.hidden = false;
    toggleButton.setAttribute('aria-expanded', 'true');
    if (variants.length === 0) add({ name: words.current, texts: current() });
    chart.redraw();
    heading.focus();
    section.scrollIntoView({ block: 'start' });
  }
  function toggle() {
    if (section.hidden) {
      open();
    } else {
      section.hidden = true;
      toggleButton.setAttribute('aria-expanded', 'false');
    }
  }
  toggleButton.addEventListener('click', toggle);
  return { open, toggle };
}
