// The page's energy price helper in a real browser, as a user reaches it:
// the "Átszámítás" button next to box 15 and the dialog it opens.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { launchBrowser, startServer } from './support.mjs';

let server;
let browser;
before(async () => {
  server = await startServer();
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
  server?.stop();
});

async function openHelper() {
  const context = await browser.newContext({ locale: 'hu-HU', viewport: { width: 1280, height: 900 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  await page.getByRole('button', { name: 'Átszámítás' }).click();
  const dialog = page.getByRole('dialog', { name: 'Energiaár átszámítása' });
  await dialog.waitFor();
  return { page, dialog, done: async () => { await context.close(); assert.deepEqual(errors, []); } };
}

test('gas at 120 Ft/m³ and 90 % fills box 15 with 120 / (9,5 × 0,9)', async () => {
  const { page, dialog, done } = await openHelper();
  assert.equal(await dialog.getByLabel('Energiahordozó').inputValue(), '0');  // Földgáz
  assert.equal(await dialog.getByLabel('Fűtőérték (kWh/m³)').inputValue(), '9,5');
  await dialog.getByLabel('Egységár (Ft/m³)', { exact: true }).fill('120');
  await dialog.getByLabel('Hatásfok (%)', { exact: true }).fill('90');
  await dialog.getByRole('button', { name: 'Beírás' }).click();
  await dialog.waitFor({ state: 'hidden' });
  assert.equal(await page.locator('#Energiaarb').inputValue(), '14,0351');
  await done();
});

test('a zero efficiency shows the core message and writes nothing', async () => {
  const { page, dialog, done } = await openHelper();
  const before = await page.locator('#Energiaarb').inputValue();
  await dialog.getByLabel('Egységár (Ft/m³)', { exact: true }).fill('120');
  await dialog.getByLabel('Hatásfok (%)', { exact: true }).fill('0');
  await dialog.getByRole('button', { name: 'Beírás' }).click();
  assert.match(await dialog.locator('#ar-message').textContent(), /Hatásfok/);
  assert.ok(await dialog.isVisible());
  assert.equal(await page.locator('#Energiaarb').inputValue(), before);
  await done();
});
