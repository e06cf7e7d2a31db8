// The page in a real browser (Debian's Chromium, headless), driven the way a
// user and a screen reader see it: by role and label.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { after, before, test } from 'node:test';

import { launchBrowser, nativeEval, nativeOutcome, pageDir, startServer } from './support.mjs';

const require = createRequire(import.meta.url);
let server;
let browser;
const outsideRequests = [];

before(async () => {
  server = await startServer();
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
  server?.stop();
});

// A fresh page in a context of its own at `search` (e.g. "?Tamogatas=50"),
// by default once its first results stand; `init` runs before the page's scripts,
// `beforeGoto(page)` before it is opened.
async function openPage(search = '', { awaitReady = true, init, beforeGoto, waitUntil = 'load', ...options } = {}) {
  const context = await browser.newContext({ locale: 'hu-HU', viewport: { width: 1280, height: 900 }, ...options });
  if (init) await context.addInitScript(init);
  context.on('request', (request) => {
    if (!request.url().startsWith(server.url)) outsideRequests.push(request.url());
  });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.close = async () => {
    await context.close();
    assert.deepEqual(errors, [], 'errors in the page');
  };
  await beforeGoto?.(page);
  await page.goto(server.url + search, { waitUntil });
  if (awaitReady) await page.waitForSelector('html[data-ready]');
  return page;
}

const box = (page, field) => page.locator(`#${field}b`);
const dialog = (page) => page.getByRole('dialog', { name: 'HIBÁS ADAT' });

// Everything the page shows of a run: box texts and label texts.
async function shown(page) {
  return page.evaluate(() => ({
    texts: Object.fromEntries([...document.querySelectorAll('#Picture2 input')].map((i) => [i.name, i.value])),
    labels: Object.fromEntries([...document.querySelectorAll('output')].map((o) => [o.id, o.value])),
    verdict: document.getElementById('Osszegzes').textContent,
  }));
}
function expectOutcome(seen, outcome) {
  assert.deepEqual(seen.texts, outcome.texts);
  assert.equal(seen.verdict, outcome.verdict);
  for (const [name, text] of Object.entries(outcome.labels)) assert.equal(seen.labels[name], text ?? '', name);
}

// Closes the dialogs a run opens, checking each message and that its box
// gets the replacement only after OK.
async function answerFindings(page, findings, fault = null) {
  for (const finding of findings) {
    await dialog(page).waitFor();
    assert.equal(await page.locator('#message-text').textContent(), finding.message);
    // The message names its box by the box's caption.
    assert.equal(await page.locator('#message-box').textContent(),
      (await page.locator(`label[for="${finding.field}b"]`).textContent()).trim());
    // A wrong text is never its own replacement, so this tells before from after.
    assert.notEqual(await box(page, finding.field).inputValue(), finding.replacement);
    await dialog(page).getByRole('button', { name: 'OK' }).click();
    // The page writes the replacement (and opens the next message) once the
    // dialog has closed.
    await page.waitForFunction(([id, text]) => document.getElementById(id).value === text,
      [`${finding.field}b`, finding.replacement]);
  }
  if (fault) {
    await dialog(page).waitFor();
    assert.equal(await page.locator('#message-text').textContent(), fault);
    await dialog(page).getByRole('button', { name: 'OK' }).click();
  }
  await page.waitForFunction(() => !document.querySelector('dialog').open);
}

// Opens the analysis with F2 and waits until it stands; what it shows, keyed
// by field (Energiaar) where the page shows the box's caption.
async function openAnalysis(page) {
  await page.keyboard.press('F2');
  return analysisShown(page);
}
async function analysisShown(page) {
  await page.waitForFunction(() => document.getElementById('Allapot').textContent.startsWith('Az elemzés a'));
  return page.evaluate(() => {
    const fieldOf = (caption) => [...document.querySelectorAll('#Picture2 label')]
      .find((l) => l.textContent.startsWith(caption)).htmlFor.replace(/b$/, '');
    const texts = (row) => [...row.children].map((c) => c.textContent);
    const table = [...document.querySelectorAll('#Kuszobertekek tbody tr')].map(texts);
    const tornado = [...document.querySelectorAll('#Tornado li')].map(texts);
    return {
      figures: ['NPV', 'BelsoRata', 'EgyszeruMegterules'].map((id) => document.getElementById(id).value),
      breakEven: Object.fromEntries(table.map(([caption, ...rest]) => [fieldOf(caption), rest])),
      tornado: Object.fromEntries(tornado.map(([caption, minus, , plus]) => [fieldOf(caption), [minus, plus]])),
      order: tornado.map(([caption]) => fieldOf(caption)),
      base: document.getElementById('Tornado-alap').textContent,
    };
  });
}

test('the start-up figures are the native evaluator\'s, with no message', async () => {
  const page = await openPage();
  expectOutcome(await shown(page), nativeOutcome({}));
  assert.equal(await page.locator('#L').textContent(), '16,68');
  assert.equal(await dialog(page).isVisible(), false);
  // Every box is labelled by its caption.
  assert.equal(await page.getByLabel('Referencia kamatláb, p [%]:').inputValue(), '6');
  await page.close();
});

test('wrong boxes are reported in order and replaced after each OK', async () => {
  const page = await openPage();
  const typed = { Elettartam: '0', Qkoll: 'abc', Karbkolts: '1.5', Energiaarvalt: '200' };
  for (const [field, text] of Object.entries(typed)) await box(page, field).fill(text);
  const expected = nativeOutcome(typed);
  assert.equal(expected.findings.length, 4);
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  // While the first message is open the later boxes still hold their texts.
  await dialog(page).waitFor();
  assert.equal(await box(page, 'Energiaarvalt').inputValue(), '200');
  assert.equal(await page.locator('#message-box').textContent(), 'A vizsgált napkollektoros rendszer várható élettertama/vizsgált időszak, [év]:');
  await answerFindings(page, expected.findings);
  expectOutcome(await shown(page), expected);
  // The last wrong box, with its replacement, has the focus.
  assert.equal(await page.evaluate(() => document.activeElement.id), 'Energiaarvaltb');
  await page.close();
});

test('one polite announcement per Calculate; the figures are no live regions', async () => {
  const page = await openPage();
  // An <output> is a live region unless it says otherwise.
  assert.deepEqual(await page.evaluate(() =>
    [...document.querySelectorAll('output:not([aria-live="off"])')].map((o) => o.id)), []);
  await page.evaluate(() => {
    window.announcements = [];
    new MutationObserver(() => window.announcements.push(document.getElementById('announce').textContent))
      .observe(document.getElementById('announce'), { childList: true, characterData: true, subtree: true });
  });
  await box(page, 'Kamatlab').fill('abc');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await answerFindings(page, nativeOutcome({ Kamatlab: 'abc' }).findings);
  await page.waitForFunction(() => window.announcements.length > 0);
  // Time for a stray second one.
  await page.waitForTimeout(200);
  const said = await page.evaluate(() => window.announcements);
  assert.deepEqual(said, [`Megtérülési idő [év]: ${await page.locator('#L').textContent()} ` +
    `${await page.locator('#Osszegzes').textContent()}`]);
  await page.close();
});

test('a run that overflows reports the fault and leaves the labels it did not reach empty', async () => {
  const page = await openPage();
  const typed = { Beruhazas: '99999999999' };
  const expected = nativeOutcome(typed);
  assert.ok(expected.fault);
  await box(page, 'Beruhazas').fill(typed.Beruhazas);
  await page.keyboard.press('Alt+s');
  await answerFindings(page, [], expected.fault);
  expectOutcome(await shown(page), expected);
  assert.equal(await page.locator('#Hozamb').textContent(), '');
  await page.close();
});

test('the chart shows the cost and savings colours, crisp at the pixel ratio', async () => {
  for (const deviceScaleFactor of [1, 2]) {
    const page = await openPage('', { deviceScaleFactor });
    const counts = await page.evaluate(() => {
      const canvas = document.getElementById('chart');
      const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      const near = (i, [r, g, b]) => Math.abs(data[i] - r) + Math.abs(data[i + 1] - g) + Math.abs(data[i + 2] - b) < 30;
      let cost = 0;
      let savings = 0;
      for (let i = 0; i < data.length; i += 4) {
        if (near(i, [0, 0, 250])) cost++;
        if (near(i, [250, 100, 30])) savings++;
      }
      return { cost, savings, width: canvas.width, css: canvas.clientWidth, ratio: devicePixelRatio };
    });
    assert.equal(counts.width, Math.round(counts.css * counts.ratio), 'backing store at the pixel ratio');
    assert.ok(counts.cost > 200 * deviceScaleFactor, `cost pixels: ${counts.cost}`);
    assert.ok(counts.savings > 200 * deviceScaleFactor, `savings pixels: ${counts.savings}`);
    await page.close();
  }
});

test('the texts travel in the URL: reload, Back and Forward restore them', async () => {
  const page = await openPage();
  await box(page, 'Tamogatas').fill('50');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await page.waitForURL(/Tamogatas=50/);
  const fifty = nativeOutcome({ Tamogatas: '50' });
  expectOutcome(await shown(page), fifty);

  await box(page, 'Tamogatas').fill('100');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await page.waitForURL(/Tamogatas=100/);
  await page.goBack();
  await page.waitForFunction(() => document.getElementById('Tamogatasb').value === '50');
  expectOutcome(await shown(page), fifty);
  await page.goForward();
  await page.waitForFunction(() => document.getElementById('Tamogatasb').value === '100');
  expectOutcome(await shown(page), nativeOutcome({ Tamogatas: '100' }));

  const link = page.url();
  const again = await openPage(new URL(link).search);
  expectOutcome(await shown(again), nativeOutcome({ Tamogatas: '100' }));
  await again.close();
  await page.close();
});

test('a hostile URL is read like typed texts and never breaks the page', async () => {
  const hostile = {
    Elettartam: '<img src=x onerror=alert(1)>',
    Qkoll: '9'.repeat(5000),
    Akoll: '\u0000',
    Kamatlab: '%',
  };
  const search = `?${new URLSearchParams({ ...hostile, Unknown: 'x', Beruhazas: '' })}&Tamogatas=%E0%A4%A`;
  const page = await openPage(search, { awaitReady: false });
  const expected = nativeOutcome({ ...hostile, Beruhazas: '', Tamogatas: '%E0%A4%A' });
  // URLSearchParams keeps a broken escape as typed text.
  assert.ok(expected.findings.length >= 5);
  await answerFindings(page, expected.findings);
  await page.waitForSelector('html[data-ready]');
  expectOutcome(await shown(page), expected);
  assert.equal(await page.locator('img[src=x]').count(), 0);
  // The URL now holds the texts the run left in the boxes.
  assert.equal(new URL(page.url()).searchParams.get('Elettartam'), expected.texts.Elettartam);
  await page.close();
});

test('a line break in a link is a wrong text, as the evaluator has it', async () => {
  // An input element drops line breaks from its value: "1%0A2" must not become 12.
  const page = await openPage('?Beruhazas=1%0A2', { awaitReady: false });
  const expected = nativeOutcome({ Beruhazas: '1\n2' });
  assert.equal(expected.findings.length, 1);
  await answerFindings(page, expected.findings);
  await page.waitForSelector('html[data-ready]');
  expectOutcome(await shown(page), expected);
  await page.close();
});

test('a text of millions of characters is a wrong text; one past the line limit fails the run, clearing its results', async () => {
  const page = await openPage();
  await openAnalysis(page);
  // Set in the page: typing or pasting two million characters through the
  // automation protocol would take most of the test's time.
  const setQkoll = (text, times = 1) =>
    page.evaluate(([t, n]) => { document.getElementById('Qkollb').value = t.repeat(n); }, [text, times]);
  const long = '9'.repeat(2_000_000);
  await setQkoll(long);
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  const expected = nativeOutcome({ Qkoll: long });
  await answerFindings(page, expected.findings);
  expectOutcome(await shown(page), expected);
  assert.equal((await analysisShown(page)).breakEven.Qkoll[0], expected.texts.Qkoll);

  // Longer than the evaluator's 16 MiB line: the core answers an error, and
  // nothing of the former run stays beside the new text.
  await setQkoll('9', 17 << 20);
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await dialog(page).waitFor();
  assert.equal(await page.locator('#message-text').textContent(), 'A számítás nem sikerült.');
  await dialog(page).getByRole('button', { name: 'OK' }).click();
  await page.waitForFunction(() => document.getElementById('Allapot').textContent === 'Az elemzés nem sikerült.');
  const { labels, verdict } = await shown(page);
  assert.deepEqual(Object.entries(labels).filter(([, text]) => text !== ''), [], 'figures left standing');
  assert.equal(verdict, '', 'verdict left standing');

  // The page goes on as before.
  await setQkoll('700');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await page.waitForFunction(() => document.getElementById('L').value !== '');
  expectOutcome(await shown(page), nativeOutcome({ Qkoll: '700' }));
  assert.equal((await analysisShown(page)).breakEven.Qkoll[0], '700');
  await page.close();
});

test('a run that traps in the core clears the results, and the next one runs on a new core', async () => {
  // Every core made traps in its next zr_evaluate once window.trap is set.
  const init = () => {
    let make;
    Object.defineProperty(window, 'createZeltanoCore', {
      set: (f) => { make = f; },
      get: () => make && (async (...args) => {
        const core = await make(...args);
        window.cores = (window.cores ?? 0) + 1;
        let evaluate = core._zr_evaluate;
        Object.defineProperty(core, '_zr_evaluate', {
          set: (f) => { evaluate = f; },
          get: () => (...a) => {
            if (!window.trap) return evaluate(...a);
            window.trap = false;
            throw new WebAssembly.RuntimeError('memory access out of bounds');
          },
        });
        return core;
      }),
    });
  };
  const page = await openPage('', { init });
  await page.evaluate(() => { window.trap = true; });
  await box(page, 'Tamogatas').fill('50');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await dialog(page).waitFor();
  assert.equal(await page.locator('#message-text').textContent(), 'A számítás nem sikerült.');
  const { labels } = await shown(page);
  assert.deepEqual(Object.entries(labels).filter(([, text]) => text !== ''), [], 'figures left standing');
  await dialog(page).getByRole('button', { name: 'OK' }).click();
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await page.waitForFunction(() => document.getElementById('L').value !== '');
  expectOutcome(await shown(page), nativeOutcome({ Tamogatas: '50' }));
  assert.equal(await page.evaluate(() => window.cores), 2);
  await page.close();
});

test('while the WebAssembly loads, a first visit shows the core\'s start-up run, a link shows nothing, typing is kept', async () => {
  const chartPixels = (page) => page.evaluate(() => document.getElementById('chart').toDataURL());
  for (const search of ['', '?Tamogatas=50']) {
    let release;
    const gate = new Promise((resolve) => { release = resolve; });
    const page = await openPage(search, {
      awaitReady: false,
      waitUntil: 'commit',
      beforeGoto: (p) => p.route('**/zeltano-core.js', async (route) => { await gate; await route.continue(); }),
    });
    // The page's script has run up to its wait for the core.
    await page.waitForFunction(() => performance.getEntriesByType('resource').some((e) => e.name.endsWith('/page.js')));
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert.equal(await page.evaluate(() => performance.getEntriesByName('zeltano-first-results').length), search === '' ? 1 : 0);
    const before = await shown(page);
    if (search === '') {
      expectOutcome(before, nativeOutcome({}));
      const prebuiltChart = await chartPixels(page);
      await box(page, 'Tamogatas').fill('50');
      release();
      await page.waitForSelector('html[data-ready]');
      // The run on the core is on the typed text; the chart the page was
      // built with is the one the core draws for the start-up texts.
      expectOutcome(await shown(page), nativeOutcome({ Tamogatas: '50' }));
      await box(page, 'Tamogatas').fill(nativeOutcome({}).texts.Tamogatas);
      await page.getByRole('button', { name: 'Számítás', exact: true }).click();
      const startup = nativeOutcome({});
      await page.waitForFunction((verdict) => document.getElementById('Osszegzes').textContent === verdict, startup.verdict);
      expectOutcome(await shown(page), startup);
      assert.equal(await chartPixels(page), prebuiltChart);
    } else {
      assert.deepEqual(Object.values(before.labels).filter((text) => text !== ''), [], 'figures before the run');
      assert.equal(before.verdict, '');
      release();
      await page.waitForSelector('html[data-ready]');
      expectOutcome(await shown(page), nativeOutcome({ Tamogatas: '50' }));
    }
    await page.close();
  }
});

test('a pasted lone surrogate is a wrong text like any other', async () => {
  const page = await openPage();
  // Set in the page: the automation protocol itself would make it U+FFFD.
  await page.evaluate(() => { document.getElementById('Akollb').value = '6\ud800'; });
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await answerFindings(page, nativeOutcome({ Akoll: '6\ufffd' }).findings);
  assert.equal(await box(page, 'Akoll').inputValue(), '6');
  await page.close();
});

test('Enter in a box runs nothing; Alt+S and the button do', async () => {
  const page = await openPage();
  const before = await page.locator('#L').textContent();
  await box(page, 'Energiaarvalt').fill('0');
  await box(page, 'Energiaarvalt').press('Enter');
  assert.equal(await page.locator('#L').textContent(), before);
  assert.equal(new URL(page.url()).search, '');
  await page.keyboard.press('Alt+S');
  await page.waitForFunction((old) => document.getElementById('L').value !== old, before);
  assert.equal(await page.locator('#L').textContent(), nativeOutcome({ Energiaarvalt: '0' }).labels.L);
  // The results are announced to a screen reader.
  assert.match(await page.locator('#announce').textContent(), /Megtérülési idő \[év\]: /);
  await page.close();
});

test('a 360 px phone: no horizontal scrolling, touch-sized boxes, a decimal keyboard', async () => {
  const page = await openPage('', { viewport: { width: 360, height: 740 }, hasTouch: true, isMobile: true });
  await openAnalysis(page);
  await page.keyboard.press('F3');  // the risk view's boxes too
  const layout = await page.evaluate(() => ({
    scroll: document.documentElement.scrollWidth,
    client: document.documentElement.clientWidth,
    chart: document.getElementById('chart').getBoundingClientRect().right,
    heights: [...document.querySelectorAll('input:not([hidden]), #buttons button')].map((e) => e.getBoundingClientRect().height),
    modes: [...document.querySelectorAll('#Picture2 input')].map((e) => e.inputMode),
  }));
  assert.ok(layout.scroll <= layout.client, `page ${layout.scroll} px wide in ${layout.client}`);
  assert.ok(layout.chart <= layout.client, 'the chart fits the width');
  assert.ok(Math.min(...layout.heights) >= 40, `smallest target ${Math.min(...layout.heights)} px`);
  assert.deepEqual(new Set(layout.modes), new Set(['decimal']));
  await page.close();
});

test('a 360 px phone: the chart\'s words are at least 11 CSS px and inside the box', async () => {
  const page = await openPage('', {
    viewport: { width: 360, height: 740 }, isMobile: true, deviceScaleFactor: 2,
    init: () => {
      window.chartWords = [];
      const fillText = CanvasRenderingContext2D.prototype.fillText;
      CanvasRenderingContext2D.prototype.fillText = function (text, x, y) {
        const end = x + this.measureText(text).width;
        window.chartWords.push({ text, px: parseFloat(this.font) / devicePixelRatio, x, end, box: this.canvas.width });
        return fillText.call(this, text, x, y);
      };
    },
  });
  const words = await page.evaluate(() => window.chartWords);
  assert.ok(words.some((w) => w.text === 'Költség'), JSON.stringify(words));
  for (const w of words) {
    assert.ok(w.px >= 11, `${w.text}: ${w.px} px`);
    assert.ok(w.x >= 0 && w.end <= w.box + 0.5, `${w.text} leaves the box: ${w.x}..${w.end} of ${w.box}`);
  }
  await page.close();
});

test('Link másolása copies the scenario\'s address', async () => {
  const page = await openPage('?Tamogatas=40');
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write'], { origin: server.url });
  await page.getByRole('button', { name: 'Link másolása' }).click();
  await page.getByRole('button', { name: 'Link másolva' }).waitFor();
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  assert.equal(copied, page.url());
  assert.match(copied, /Tamogatas=40/);
  await page.close();
});

test('axe-core finds no serious or critical violation, with and without a message open', async () => {
  const page = await openPage();
  const check = async (what) => {
    await page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
    const violations = await page.evaluate(async () => (await window.axe.run()).violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
    assert.deepEqual(violations, [], what);
  };
  await check('the page');
  await openAnalysis(page);
  await check('the page with the analysis');
  await box(page, 'Qkoll').fill('x');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await dialog(page).waitFor();
  await check('the message');
  await page.close();
});

test('print gives one A4 page, also with the analysis open', async () => {
  const page = await openPage();
  await openAnalysis(page);
  const pdf = await page.pdf({ format: 'A4', printBackground: true });
  const pages = pdf.toString('latin1').match(/\/Type\s*\/Page(?!s)/g) ?? [];
  assert.equal(pages.length, 1);
  // The open analysis is on it, with the results.
  const text = spawnSync('pdftotext', ['-', '-'], { input: pdf }).stdout.toString();
  for (const words of ['Számított értékek', 'Megtérülési küszöbértékek', 'Érzékenység']) assert.match(text, new RegExp(words));
  await page.close();
});

test('the user guide is in the page\'s folder, linked from the page, with its pictures', async () => {
  const page = await openPage();
  await page.getByRole('link', { name: 'Felhasználói útmutató' }).click();
  await page.waitForURL(/felhasznaloi-utmutato\.html$/);
  await page.waitForLoadState('load');
  assert.equal(await page.title(), 'Zeltano-Redurir – felhasználói útmutató');
  const pictures = await page.evaluate(() => [...document.images].map((i) => [i.getAttribute('src'), i.naturalWidth]));
  assert.ok(pictures.length > 0);
  for (const [src, width] of pictures) assert.ok(width > 0, `${src} is missing`);
  await page.close();
});

test('the folder works opened from disk, without a server', async () => {
  const context = await browser.newContext({ locale: 'hu-HU' });
  const page = await context.newPage();
  await page.goto(`file://${pageDir}/index.html`);
  await page.waitForSelector('html[data-ready]');
  expectOutcome(await shown(page), nativeOutcome({}));
  // No worker from disk: the analysis runs in the page itself.
  assert.deepEqual((await openAnalysis(page)).figures, ['519610', '9,6749', '11,47']);
  await context.close();
});

test('a browser in English gets the decimal point; nothing is fetched from another host', async () => {
  const page = await openPage('', { locale: 'en-US' });
  expectOutcome(await shown(page), nativeOutcome({}, '.'));
  assert.equal(await box(page, 'Karbkolts').inputValue(), '0.5');
  await page.close();
  assert.deepEqual(outsideRequests, []);
});

test('the analysis shows the start-up figures and follows every Calculate, never a stale one', async () => {
  const page = await openPage();
  const start = await openAnalysis(page);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'Elemzes-cim');
  assert.deepEqual(start.figures, ['519610', '9,6749', '11,47']);
  assert.deepEqual(start.breakEven.Energiaar, ['20', '13,8804', 'Ft/kWh']);
  assert.deepEqual(start.breakEven.Tamogatas, ['0', 'Az egyenleg a megengedett tartományban végig nemnegatív.']);
  assert.equal(start.base, '16,68');
  assert.deepEqual(start.tornado.Energiaar, ['−20 %: 21,35', '+20 %: 13,66']);
  assert.equal(Object.keys(start.tornado).length, 14);
  assert.equal(start.order[0], 'Energiaar', 'the widest bar on top');

  // Every figure the view shows from here on is recorded.
  await page.evaluate(() => {
    window.npvSeen = [];
    new MutationObserver(() => window.npvSeen.push(document.getElementById('NPV').value))
      .observe(document.getElementById('NPV'), { childList: true, characterData: true, subtree: true });
  });
  await box(page, 'Energiaar').fill('30');
  await box(page, 'Qkoll').fill('sok');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  // While the run is still reporting, the former scenario's figures are gone.
  await dialog(page).waitFor();
  assert.deepEqual(await page.evaluate(() => [NPV.value, Allapot.textContent, Kuszobertekek.rows[15].cells[2].textContent]),
    ['', 'Számítás…', '']);
  await answerFindings(page, nativeOutcome({ Energiaar: '30', Qkoll: 'sok' }).findings);
  const after = await analysisShown(page);
  // The corrected texts: Qkoll's replacement, 600.
  assert.deepEqual(after.breakEven.Qkoll.slice(0, 1), ['600']);
  assert.deepEqual(after.breakEven.Energiaar.slice(0, 2), ['30', '13,8804']);
  const runAt = (text) => nativeOutcome({ Energiaar: text }).labels.L;
  assert.deepEqual(after.tornado.Energiaar, [`−20 %: ${runAt('24')}`, `+20 %: ${runAt('36')}`]);
  assert.equal(after.base, runAt('30'));
  const seen = await page.evaluate(() => window.npvSeen);
  assert.ok(!seen.includes('519610'), `shown after the Calculate: ${seen}`);
  assert.equal(seen.at(-1), after.figures[0]);
  assert.notEqual(after.figures[0], '519610');

  // F2 goes back to it; Esc closes it and returns to its button.
  await page.keyboard.press('F2');
  await page.keyboard.press('Escape');
  assert.equal(await page.locator('#Elemzes').isVisible(), false);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'Elemzes-gomb');
  await page.close();
});

test('the tornado says "nincs" and "tartományon kívül" where the runs say so', async () => {
  // At 1 Ft/kWh nothing pays back, and 20 % (or 10 %) less is below the box's range.
  const page = await openPage('?Energiaar=1');
  const shown = await openAnalysis(page);
  assert.equal(shown.base, 'nincs');
  assert.deepEqual(shown.tornado.Energiaar, ['−20 %: tartományon kívül', `+20 %: ${nativeOutcome({ Energiaar: '1,2' }).labels.L}`]);
  assert.equal(nativeOutcome({ Energiaar: '1,2' }).labels.L, 'nincs');
  await page.close();
});

test('a link keeps its decimal separator: number texts follow the opening browser', async () => {
  const cases = [
    { locale: 'en-US', page: '.', link: ',', typed: { Karbkolts: '0,75', Egyebkolts: ' +,5', Qkoll: '1,5e3', Akoll: '7,5,' },
      read: { Karbkolts: '0.75', Egyebkolts: ' +.5', Qkoll: '1,5e3', Akoll: '7,5,' } },
    { locale: 'hu-HU', page: ',', link: '.', typed: { Villanyar: '45.5', Kamatlab: '5' }, read: { Villanyar: '45,5', Kamatlab: '5' } },
    // A separator the evaluator would refuse is ignored: the texts are read as they are.
    { locale: 'hu-HU', page: ',', link: '-', typed: { Karbkolts: '-5' }, read: { Karbkolts: '-5' } },
    { locale: 'hu-HU', page: ',', link: '1', typed: { Elettartam: `${'1'.repeat(160_000)}x` },
      read: { Elettartam: `${'1'.repeat(160_000)}x` } },
  ];
  for (const c of cases) {
    const search = `?${new URLSearchParams({ ...c.typed, tizedesjel: c.link })}`;
    const page = await openPage(search, { locale: c.locale, awaitReady: false });
    const expected = nativeOutcome(c.read, c.page);
    await answerFindings(page, expected.findings);
    await page.waitForSelector('html[data-ready]');
    expectOutcome(await shown(page), expected);
    assert.equal(new URL(page.url()).searchParams.get('tizedesjel'), c.page);
    await page.close();
  }
});

test('the risk view runs in its worker, shows the share and equals zeltano-eval --risk for the seed', async () => {
  const page = await openPage();
  await page.keyboard.press('F3');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'Kockazat-cim');
  // The three ranges offered for the start-up figures.
  assert.deepEqual(await page.locator('#Tartomanyok input').evaluateAll((inputs) => inputs.map((i) => i.value)),
    ['2', '6', '10', '420', '600', '660', '4', '6', '8']);
  // A wrong seed is named, and nothing runs.
  await page.getByRole('textbox', { name: 'Kezdőérték:' }).fill('-1');
  await page.getByRole('button', { name: 'Futtatás' }).click();
  assert.equal(await page.locator('#Kockazat-allapot').textContent(),
    'A kezdőérték 0 és 18446744073709551615 közötti egész szám lehet!');
  await page.getByRole('textbox', { name: 'Kezdőérték:' }).fill('7');
  await page.getByRole('textbox', { name: 'Futások száma:' }).fill('2000');
  await page.getByRole('button', { name: 'Futtatás' }).click();
  await page.waitForFunction(() => document.getElementById('Hisztogram').dataset.risk !== undefined);

  const { stdout } = spawnSync(nativeEval, ['--risk', 'Energiaarvalt=2:6:10', '--risk', 'Qkoll=420:600:660',
    '--risk', 'Kamatlab=4:6:8', '--runs', '2000', '--seed', '7'], { input: '{}\n' });
  const shownRisk = await page.locator('#Hisztogram').getAttribute('data-risk');
  assert.ok(stdout.toString().includes(`"risk":${shownRisk}`), 'the evaluator\'s "risk" member, byte for byte');
  const risk = JSON.parse(shownRisk);
  const percent = String(Math.round(Number(risk.pays_back_share.replace(',', '.')) * 10000) / 100).replace('.', ',');
  assert.match(await page.locator('#Arany').textContent(), new RegExp(`^${percent} % \\(\\d+ / 2000 futás\\)$`));
  assert.equal(await page.locator('#P90-megterules').textContent(), risk.payback.p90);
  assert.equal(await page.locator('#Kockazat-allapot').textContent(), 'Kész: 2000 futás, kezdőérték: 7.');
  await page.close();
});
