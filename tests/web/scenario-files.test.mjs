// Mentés and Megnyitás on the page against the window: the page's file is
// the one the window saves and reports on, and a file the window refuses is
// refused on the page with the window's reason.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { launchBrowser, nativeOutcome, sourceDir, startServer } from './support.mjs';

const windowProgram = process.env.ZELTANO_WINDOW ?? join(sourceDir, 'build/default/ui/zeltano-redurir');
let server;
let browser;
let folder;

before(async () => {
  server = await startServer();
  browser = await launchBrowser();
  folder = mkdtempSync(join(tmpdir(), 'zeltano-files-'));
});
after(async () => {
  await browser?.close();
  server?.stop();
  if (folder) rmSync(folder, { recursive: true, force: true });
});

async function openPage() {
  const context = await browser.newContext({ locale: 'hu-HU', acceptDownloads: true });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.close = async () => {
    await context.close();
    assert.deepEqual(errors, [], 'errors in the page');
  };
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  return page;
}

const boxTexts = (page) => page.evaluate(() =>
  Object.fromEntries([...document.querySelectorAll('#Picture2 input')].map((i) => [i.name, i.value])));
const figures = (page) => page.evaluate(() =>
  Object.fromEntries([...document.querySelectorAll('output')].map((o) => [o.id, o.value])));

// The window's report on `file`, under a Hungarian locale as the page's.
function windowReport(file) {
  const pdf = join(folder, 'jelentes.pdf');
  rmSync(pdf, { force: true });
  const run = spawnSync(windowProgram, ['--report', pdf, file], {
    env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', LC_ALL: 'hu_HU.UTF-8', LANG: 'hu_HU.UTF-8' },
  });
  const text = run.status === 0 ? spawnSync('pdftotext', ['-layout', pdf, '-']).stdout.toString() : '';
  return { status: run.status, stderr: run.stderr.toString(), text };
}

// Valid texts other than the start-up ones, one with the decimal comma.
const typed = { Tamogatas: '35', Beruhazas: '1250000', Energiaarvalt: '7,5' };
let saved;

test('Mentés downloads the window\'s file, and the window reports the page\'s figures from it', { skip: !existsSync(windowProgram) && 'no window build' }, async () => {
  const page = await openPage();
  for (const [field, text] of Object.entries(typed)) await page.locator(`#${field}b`).fill(text);
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await page.waitForFunction(() => new URLSearchParams(location.search).has('Tamogatas'));
  const texts = await boxTexts(page);
  const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name: 'Mentés' }).click()]);
  assert.equal(download.suggestedFilename(), 'forgatokonyv.zeltano.json');
  saved = join(folder, download.suggestedFilename());
  await download.saveAs(saved);

  // One line in the core's field order, as the evaluator orders its texts.
  const expected = nativeOutcome(texts).texts;
  assert.deepEqual(expected, texts);
  assert.equal(readFileSync(saved, 'utf8'), `${JSON.stringify(expected)}\n`);

  const report = windowReport(saved);
  assert.equal(report.status, 0, report.stderr);
  const shown = await figures(page);
  for (const id of ['L', 'Egyenlegb']) {
    assert.ok(shown[id], id);
    assert.ok(report.text.includes(shown[id]), `${id} ${shown[id]} is not in the report:\n${report.text}`);
  }
  await page.close();
});

test('Megnyitás of a saved file restores its texts and calculates', { skip: !existsSync(windowProgram) && 'no window build' }, async () => {
  assert.ok(saved, 'the Mentés test saved no file');
  const page = await openPage();
  const before = await figures(page);
  await page.locator('#Megnyitas-fajl').setInputFiles(saved);
  await page.waitForFunction(() => new URLSearchParams(location.search).has('Tamogatas'));
  const texts = await boxTexts(page);
  for (const [field, text] of Object.entries(typed)) assert.equal(texts[field], text, field);
  const outcome = nativeOutcome(texts);
  const after = await figures(page);
  assert.equal(after.L, outcome.labels.L);
  assert.notEqual(after.L, before.L);
  await page.close();
});

test('a file that is no scenario is refused with the window\'s reason; the boxes stay', { skip: !existsSync(windowProgram) && 'no window build' }, async () => {
  const bad = join(folder, 'rossz.zeltano.json');
  writeFileSync(bad, '{"Tamogatas": 35}\n');
  const refused = windowReport(bad);
  assert.notEqual(refused.status, 0);

  const page = await openPage();
  const before = await boxTexts(page);
  await page.locator('#Megnyitas-fajl').setInputFiles(bad);
  // Titled as the window titles it, not as a wrong box.
  const dialog = page.getByRole('dialog', { name: 'Forgatókönyv megnyitása' });
  await dialog.waitFor();
  const message = await page.locator('#message-text').textContent();
  assert.match(message, /rossz\.zeltano\.json/);
  const reason = message.split('\n\n').at(-1);
  assert.ok(reason.length > 0 && refused.stderr.includes(reason), `${reason} / ${refused.stderr}`);
  await dialog.getByRole('button', { name: 'OK' }).click();
  assert.deepEqual(await boxTexts(page), before);
  // A wrong box after it is a wrong box again.
  await page.locator('#Kamatlabb').fill('abc');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await page.getByRole('dialog', { name: 'HIBÁS ADAT' }).waitFor();
  await page.getByRole('dialog').getByRole('button', { name: 'OK' }).click();
  await page.close();
});

test('Változatok (F6) sets the current scenario beside a saved file, as zeltano-eval --variants does', async () => {
  const file = join(folder, 'fél támogatás.zeltano.json');
  writeFileSync(file, '{"Tamogatas":"50"}\n');
  const page = await openPage();
  const current = await boxTexts(page);
  await page.keyboard.press('F6');
  await page.getByRole('heading', { name: 'Változatok' }).waitFor();
  await page.locator('#Valtozat-fajl').setInputFiles(file);
  await page.waitForFunction(() => document.querySelectorAll('#Valtozat-tabla tbody tr').length > 16);

  const native = spawnSync(join(sourceDir, 'build/default/tools/zeltano-eval'), ['--variants'],
    { input: `${JSON.stringify(current)}\n{"Tamogatas":"50"}\n` });
  const expected = JSON.parse(native.stdout.toString());
  const shown = await page.evaluate(() => [...document.querySelectorAll('#Valtozat-tabla tbody tr')]
    .map((row) => ({ differs: row.classList.contains('differs'), cells: [...row.querySelectorAll('td')].map((td) => td.textContent) })));
  assert.equal(shown.length, expected.rows.length);
  for (const [i, row] of expected.rows.entries()) {
    assert.equal(shown[i].differs, row.differs, row.key);
    // A marked cell carries the mark after the core's text.
    assert.deepEqual(shown[i].cells.map((text) => text.replace(/ ★$/, '')), row.cells, row.key);
  }
  const payback = shown[expected.rows.findIndex((row) => row.key === 'L')].cells;
  assert.deepEqual(payback, ['16,68', '8,07 ★']);
  const heads = await page.locator('#Valtozat-tabla thead th span').allTextContents();
  assert.deepEqual(heads, ['Jelenlegi', 'fél támogatás']);
  // The chart's legend names both.
  const label = await page.locator('#Valtozat-grafikon').getAttribute('aria-label');
  assert.ok(label.includes('Jelenlegi') && label.includes('fél támogatás'), label);
  await page.close();
});
