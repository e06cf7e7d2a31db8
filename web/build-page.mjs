// Writes the page's index.html from its template and the window's Designer
// form, so every caption, heading and button text on the page is the
// window's own text, the error title included (the form's errorTitle), and
// the version line the form's "Verzió %1" with the project's version. The
// analysis and risk views' words, and the input captions split from their
// units, come from the core: PAGE_TEXTS is the core's page-texts program for
// node.
//
// Usage: node web/build-page.mjs TEMPLATE MAIN_WINDOW_UI PAGE_TEXTS OUTPUT VERSION

import { spawnSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';

const [templatePath, uiPath, pageTextsPath, outputPath, version] = process.argv.slice(2);

function fail(message) {
  console.error(`build-page: ${message}`);
  process.exit(1);
}

// --- A small reader for the form's XML (elements, attributes, text) ---------

const entities = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'" };
function decode(text) {
  return text.replace(/&(#x[0-9a-f]+|#[0-9]+|[a-z]+);/gi, (whole, name) => {
    if (name[0] === '#') {
      const hex = name[1] === 'x' || name[1] === 'X';
      return String.fromCodePoint(parseInt(name.slice(hex ? 2 : 1), hex ? 16 : 10));
    }
    return entities[name] ?? whole;
  });
}

function parseXml(source) {
  const root = { tag: '#root', attrs: {}, children: [], text: '' };
  const stack = [root];
  const token = /<!--[\s\S]*?-->|<\?[\s\S]*?\?>|<(\/?)([\w:.-]+)((?:\s+[\w:.-]+="[^"]*")*)\s*(\/?)>|([^<]+)/g;
  for (const m of source.matchAll(token)) {
    const [, closing, tag, attrText, selfClosing, text] = m;
    const top = stack[stack.length - 1];
    if (text !== undefined) {
      top.text += decode(text);
    } else if (tag === undefined) {
      continue;  // a comment or the declaration
    } else if (closing) {
      if (top.tag !== tag) fail(`${uiPath}: </${tag}> closes <${top.tag}>`);
      stack.pop();
    } else {
      const attrs = {};
      for (const a of attrText.matchAll(/([\w:.-]+)="([^"]*)"/g)) attrs[a[1]] = decode(a[2]);
      const node = { tag, attrs, children: [], text: '' };
      top.children.push(node);
      if (!selfClosing) stack.push(node);
    }
  }
  if (stack.length !== 1) fail(`${uiPath}: <${stack[stack.length - 1].tag}> is not closed`);
  return root;
}

const child = (node, tag, name) =>
  node.children.find((c) => c.tag === tag && (name === undefined || c.attrs.name === name));

// Every widget of the form with its parent, geometry (pixels) and text.
function readWidgets(node, parent, out) {
  for (const c of node.children) {
    if (c.tag !== 'widget') {
      readWidgets(c, parent, out);
      continue;
    }
    const rect = child(child(c, 'property', 'geometry') ?? { children: [] }, 'rect');
    const number = (tag) => Number(child(rect, tag).text);
    const textProperty = child(c, 'property', 'text') ?? child(c, 'property', 'windowTitle');
    const stringProperty = (name) => child(child(c, 'property', name) ?? { children: [] }, 'string')?.text;
    const widget = {
      name: c.attrs.name,
      kind: c.attrs.class,
      parent,
      geometry: rect ? { x: number('x'), y: number('y'), w: number('width'), h: number('height') } : null,
      text: textProperty ? (child(textProperty, 'string')?.text ?? '') : '',
      errorTitle: stringProperty('errorTitle'),
      frame: child(child(c, 'property', 'frameShape') ?? { children: [] }, 'enum')?.text,
    };
    out.set(widget.name, widget);
    readWidgets(c, widget.name, out);
  }
  return out;
}

const widgets = readWidgets(parseXml(readFileSync(uiPath, 'utf8')), null, new Map());
const widget = (name) => widgets.get(name) ?? fail(`${uiPath} has no widget ${name}`);

// --- HTML --------------------------------------------------------------------

const escapeHtml = (text) =>
  text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

// "&Számítás": the character after "&" is the access key, shown underlined.
function accessKeyHtml(text) {
  const at = text.search(/&[^&]/);
  if (at < 0) return escapeHtml(text.replace(/&&/g, '&'));
  return `${escapeHtml(text.slice(0, at))}<u>${escapeHtml(text[at + 1])}</u>${escapeHtml(text.slice(at + 2))}`;
}
const plainCaption = (text) => text.replace(/&(.)/g, '$1');

// Caption labels and their controls side by side in a panel, paired by row
// and listed from top to bottom as they stand on screen.
function rows(panel, isControl) {
  const inPanel = [...widgets.values()].filter((w) => w.parent === panel && w.geometry);
  const centre = (w) => w.geometry.y + w.geometry.h / 2;
  const controls = inPanel.filter(isControl);
  return controls
    .map((control) => {
      const captions = inPanel
        .filter((w) => w.kind === 'QLabel' && !isControl(w) && w.geometry.x < control.geometry.x)
        .filter((w) => Math.abs(centre(w) - centre(control)) < 8);
      if (captions.length !== 1) fail(`${panel}: no single caption beside ${control.name}`);
      return { caption: captions[0], control };
    })
    .sort((a, b) => a.control.geometry.y - b.control.geometry.y);
}

const inputPairs = rows('Picture2', (w) => w.kind === 'QLineEdit' || w.name === 'Valberuhazasb');
const inputRows = inputPairs
  .map(({ caption, control }) => {
    const label = escapeHtml(caption.text);
    if (control.kind !== 'QLineEdit') {
      // Empty, as every result: only the core's run fills it.
      return `      <div class="row value"><span id="${caption.name}">${label}</span>` +
        `<output id="${control.name}" aria-live="off" aria-labelledby="${caption.name}"></output></div>`;
    }
    const field = control.name.replace(/b$/, '');
    return `      <div class="row"><label id="${caption.name}" for="${control.name}">${label}</label>` +
      `<input id="${control.name}" name="${field}" type="text" inputmode="decimal" ` +
      `autocomplete="off" autocapitalize="off" spellcheck="false" enterkeyhint="done"></div>`;
  });
if (inputRows.filter((r) => r.includes('<input')).length !== 16) fail('the form has not sixteen input boxes');

// The separator lines of the results panel fall between rows.
const separators = [...widgets.values()]
  .filter((w) => w.parent === 'Picture3' && w.kind === 'QFrame')
  .map((w) => w.geometry.y);
const resultRows = rows('Picture3', (w) => w.kind === 'QLabel' && /b$/.test(w.name))
  .map(({ caption, control }, i, all) => {
    const previous = i > 0 ? all[i - 1].control.geometry.y : -Infinity;
    const ruled = separators.some((y) => y > previous && y < control.geometry.y);
    return `      <div class="row${ruled ? ' ruled' : ''}" id="row-${control.name}">` +
      `<span id="${caption.name}">${escapeHtml(caption.text)}</span>` +
      `<output id="${control.name}" aria-live="off" aria-labelledby="${caption.name}"></output></div>`;
  });

const errorTitle = widget('Zeltano').errorTitle ?? fail(`${uiPath}: the form has no errorTitle`);
if (!widget('Label31').text.includes('%1')) fail(`${uiPath}: Label31 has no %1 for the version`);
if (!version) fail('no version given');
const versionLine = widget('Label31').text.replace('%1', version);

// The core's words for the analysis view, and each input's caption split
// from its unit; the page's script reads them from #analysis-texts.
const shownCaptions = Object.fromEntries(inputPairs.filter(({ control }) => control.kind === 'QLineEdit')
  .map(({ caption, control }) => [control.name.replace(/b$/, ''), caption.text]));
// The value labels' captions too, by label name, for the variants table.
for (const { caption, control } of [...inputPairs.filter(({ control }) => control.kind !== 'QLineEdit'),
  ...rows('Picture3', (w) => w.kind === 'QLabel' && /b$/.test(w.name))]) {
  shownCaptions[control.name] = caption.text;
}
shownCaptions.L = widget('Label28').text;
const generated = spawnSync(process.execPath, [pageTextsPath], { input: JSON.stringify(shownCaptions) });
if (generated.status !== 0) fail(`${pageTextsPath}: ${generated.error ?? generated.stderr}`);
const analysis = JSON.parse(generated.stdout.toString());
const analysisTexts = '    <script type="application/json" id="analysis-texts">' +
  `${JSON.stringify(analysis).replace(/</g, '\\u003c')}</script>`;

// The chart box's drawing area: the form's box less its frame, in pixels;
// the twips per pixel and the curve colours are the core's.
const frameWidths = { 'QFrame::NoFrame': 0, 'QFrame::WinPanel': 2 };
const graf = widget('graf');
const frame = frameWidths[graf.frame ?? 'QFrame::NoFrame'] ?? fail(`${uiPath}: graf has a frame of unknown width`);
const [drawingWidth, drawingHeight] = [graf.geometry.w - 2 * frame, graf.geometry.h - 2 * frame];
const chartCanvas = `width="${drawingWidth}" height="${drawingHeight}" data-drawing-width="${drawingWidth}" ` +
  `data-twips-per-pixel="${analysis.chart.twipsPerPixel}" style="aspect-ratio: ${drawingWidth} / ${drawingHeight}"`;
const cssColour = ([r, g, b]) => `rgb(${r}, ${g}, ${b})`;
const chartColours = `--cost: ${cssColour(analysis.chart.cost)}; --savings: ${cssColour(analysis.chart.savings)}; ` +
  `--within: ${cssColour(analysis.chart.within)}; --beyond: ${cssColour(analysis.chart.beyond)}; ` +
  `--none: ${cssColour(analysis.chart.none)}`;

const replacements = {
  title: escapeHtml(widget('Zeltano').text),
  inputs: inputRows.join('\n'),
  results: resultRows.join('\n'),
  errorTitle: escapeHtml(errorTitle),
  Command1: accessKeyHtml(widget('Command1').text),
  Command1Plain: escapeHtml(plainCaption(widget('Command1').text)),
  Label31: escapeHtml(versionLine),
  analysisTexts,
  chartCanvas,
  chartColours,
};
const page = readFileSync(templatePath, 'utf8').replace(/\{\{([\w.]+)\}\}/g, (whole, name) => {
  if (name in replacements) return replacements[name];
  if (name.startsWith('analysis.') && name.slice(9) in analysis.texts) return escapeHtml(analysis.texts[name.slice(9)]);
  if (name.startsWith('risk.') && name.slice(5) in analysis.risk) return escapeHtml(analysis.risk[name.slice(5)]);
  if (name.startsWith('variants.') && name.slice(9) in analysis.variants) return escapeHtml(analysis.variants[name.slice(9)]);
  if (widgets.has(name)) return escapeHtml(widget(name).text);
  fail(`${templatePath}: unknown placeholder ${whole}`);
});
writeFileSync(outputPath, page);
