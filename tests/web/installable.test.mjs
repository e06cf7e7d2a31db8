// The page as an installable web app, served over HTTP: Chromium finds its
// manifest and reports nothing against installing it, the service worker
// keeps it working with the network off, answers nothing but the page's own
// files, and gives way to a new version when one is published.
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { launchBrowser, launchProfile, nativeOutcome, pageDir, sourceDir, startServer } from './support.mjs';

const version = /^project\([^)]* VERSION ([0-9.]+)/m.exec(readFileSync(join(sourceDir, 'CMakeLists.txt'), 'utf8'))[1];

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

// A page in a fresh context (its own service workers and caches) at `url`,
// once its first results stand and the service worker controls it.
async function openControlled(url) {
  const context = await browser.newContext({ locale: 'hu-HU' });
  const outside = [];
  context.on('request', (request) => {
    if (!['127.0.0.1', 'localhost'].includes(new URL(request.url()).hostname)) outside.push(request.url());
  });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(url);
  await page.waitForSelector('html[data-ready]');
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  page.close = async () => {
    await context.close();
    assert.deepEqual(errors, [], 'errors in the page');
    assert.deepEqual(outside, [], 'requests to another host');
  };
  return { context, page };
}

// The page's labels against the native evaluator's for the same texts.
async function expectLabels(page, request) {
  const shown = await page.evaluate(() => Object.fromEntries([...document.querySelectorAll('output')].map((o) => [o.id, o.value])));
  for (const [name, text] of Object.entries(nativeOutcome(request).labels)) assert.equal(shown[name], text ?? '', name);
}

const cacheNames = (page) => page.evaluate(() => caches.keys());

test('Chromium finds the manifest and reports no installability error', async () => {
  // A profile on disk, as a user's browser has: Chromium never offers to
  // install from an incognito window, which the other tests' contexts are.
  const profile = mkdtempSync(join(tmpdir(), 'zeltano-profile-'));
  const context = await launchProfile(profile);
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const cdp = await context.newCDPSession(page);
  const { url, errors, data } = await cdp.send('Page.getAppManifest');
  assert.equal(url, `${server.url}manifest.webmanifest`);
  assert.deepEqual(errors, []);
  const manifest = JSON.parse(data);
  assert.equal(manifest.lang, 'hu');
  assert.equal(manifest.display, 'standalone');
  assert.equal(new URL(manifest.start_url, url).href, `${server.url}index.html`);
  assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);

  // The colours are the window's, as the page shows them: its yellow, and
  // the orange behind the banner's line.
  const hex = (rgb) => `#${rgb.match(/\d+/g).map((c) => Number(c).toString(16).padStart(2, '0')).join('')}`;
  const [windowColour, orange] = await page.evaluate(() =>
    ['Zeltano', 'Label32'].map((id) => getComputedStyle(document.getElementById(id)).backgroundColor));
  assert.equal(manifest.background_color, hex(windowColour));
  assert.equal(manifest.theme_color, hex(orange));

  // Each PNG icon is a PNG of the size the manifest gives.
  const pngs = manifest.icons.filter((icon) => icon.type === 'image/png');
  assert.deepEqual(pngs.map((icon) => icon.sizes), ['192x192', '512x512']);
  for (const icon of pngs) {
    const png = await (await page.request.get(new URL(icon.src, url).href)).body();
    assert.equal(png.subarray(0, 8).toString('hex'), '89504e470d0a1a0a', icon.src);
    assert.equal(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, icon.sizes);
  }
  await context.close();
  rmSync(profile, { recursive: true, force: true });
});

test('the page and the service worker carry the project\'s version', async () => {
  const { page } = await openControlled(server.url);
  assert.equal(await page.locator('#Label31').textContent(), `Verzió ${version}`);
  const names = await cacheNames(page);
  assert.equal(names.length, 1);
  assert.ok(names[0].startsWith(`zeltano-redurir-${version}-`), names[0]);
  await page.close();
});

test('after one visit the page opens and computes with the network off', async () => {
  const { context, page } = await openControlled(`${server.url}?Tamogatas=10`);
  await context.setOffline(true);
  // Truly off: a file the page does not keep cannot be had.
  assert.equal(await page.evaluate(() => fetch('not-kept.txt').then(() => 'fetched', () => 'failed')), 'failed');

  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  await expectLabels(page, {});
  await page.locator('#Tamogatasb').fill('50');
  await page.getByRole('button', { name: 'Számítás', exact: true }).click();
  await page.waitForURL(/Tamogatas=50/);
  await expectLabels(page, { Tamogatas: '50' });
  // The analysis's worker and its core come from the cache as well.
  await page.keyboard.press('F2');
  await page.waitForFunction(() => document.getElementById('Allapot').textContent.startsWith('Az elemzés a'));
  assert.notEqual(await page.locator('#NPV').textContent(), '');
  await page.close();
});

test('the service worker answers only same-origin GETs of the page\'s files', async () => {
  const { context, page } = await openControlled(server.url);
  await context.setOffline(true);
  // With the network off, what the worker does not answer fails.
  const { port } = new URL(server.url);
  const cases = [
    ['page.js', 'GET', 'answered'],
    ['zeltano-core.js', 'GET', 'answered'],
    ['page.js', 'POST', 'failed'],
    ['not-kept.txt', 'GET', 'failed'],
    // Another origin (the same server under another name), a path the page keeps.
    [`http://localhost:${port}/page.js`, 'GET', 'failed'],
  ];
  for (const [url, method, expected] of cases) {
    const seen = await page.evaluate(([u, m]) => fetch(u, { method: m, mode: 'no-cors' }).then(() => 'answered', () => 'failed'), [url, method]);
    assert.equal(seen, expected, `${method} ${url}`);
  }
  await page.close();
});

test('a new version takes over on the next visit and the old cache goes', async () => {
  const folder = mkdtempSync(join(tmpdir(), 'zeltano-page-'));
  cpSync(pageDir, folder, { recursive: true });
  const copy = await startServer(folder);
  try {
    const { context, page } = await openControlled(copy.url);
    const [before] = await cacheNames(page);

    // Publish "9.9.9": the service worker and the page's version line change.
    const edit = (file, from, to) => {
      const text = readFileSync(join(folder, file), 'utf8');
      assert.ok(text.includes(from), `${file} holds ${from}`);
      writeFileSync(join(folder, file), text.replace(from, to));
    };
    edit('service-worker.js', `const VERSION = '${version}';`, "const VERSION = '9.9.9';");
    edit('index.html', `Verzió ${version}<`, 'Verzió 9.9.9<');

    // The visit finds the new service worker, which installs, takes over and
    // deletes the old cache, while the visit goes on with the old page.
    await page.reload();
    const started = Date.now();
    let names;
    while ((names = await cacheNames(page)).includes(before)) {
      assert.ok(Date.now() - started < 20000, 'the old cache is still there after 20 s');
      await page.waitForTimeout(100);
    }
    assert.equal(names.length, 1);
    assert.ok(names[0].startsWith('zeltano-redurir-9.9.9-'), names[0]);
    await context.setOffline(true);
    await page.reload();
    await page.waitForSelector('html[data-ready]');
    assert.equal(await page.locator('#Label31').textContent(), 'Verzió 9.9.9');
    await page.close();
  } finally {
    copy.stop();
    rmSync(folder, { recursive: true, force: true });
  }
});
