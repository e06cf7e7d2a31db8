// The page with long texts, in headless Chromium: a box holding two million
// characters (from Calculate to the message about it and to the results
// after OK), and a link whose decimal separator is a digit with a text of
// 160 000 digits (from navigation start to the message and to the first
// results after OK). A run that never ends in results is reported as such.
//
// Usage: node bench/web_long_text_bench.mjs [RUNS] [LIMIT]
//        (default 3 runs of each; LIMIT: seconds to wait for a message, default 180)
import { launchBrowser, startServer } from '../tests/web/support.mjs';

const runs = Number(process.argv[2] ?? 3);
const LIMIT = Number(process.argv[3] ?? 180) * 1000;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const server = await startServer();
const browser = await launchBrowser();

// Opens `search`, returns the page once the message is open (or null and the
// page's errors after LIMIT).
async function open(search, awaitReady) {
  const context = await browser.newContext({ locale: 'hu-HU' });
  const page = await context.newPage();
  const errors = [];
  const errored = new Promise((resolve) => page.on('pageerror', (error) => {
    errors.push(error.message);
    resolve(error);
  }));
  await page.goto(server.url + search);
  if (awaitReady) await page.waitForSelector('html[data-ready]');
  return { context, page, errors, errored };
}
// Waits for the message; what went wrong when none came (an error in the
// page ends the wait).
async function messageOpen({ page, errors, errored }, start = Date.now()) {
  try {
    await Promise.race([
      page.waitForFunction(() => document.getElementById('message').open, null, { polling: 'raf', timeout: LIMIT }),
      errored.then((error) => { throw error; }),
    ]);
    return null;
  } catch (error) {
    return `no message after ${((Date.now() - start) / 1000).toFixed(1)} s (${error.message.split('\n')[0]}); ` +
      `page errors: ${JSON.stringify(errors)}`;
  }
}
const ok = (page) => page.locator('#message button').click();

async function longBox() {
  const opened = await open('', true);
  const { context, page } = opened;
  await page.evaluate(() => {
    document.getElementById('Qkollb').value = '9'.repeat(2_000_000);
    document.getElementById('L').value = '';
  });
  const start = await page.evaluate(() => performance.now());
  const clicked = Date.now();
  await page.locator('#Command1').click();
  const failure = await messageOpen(opened, clicked);
  if (failure) {
    await context.close();
    return failure;
  }
  const message = (await page.evaluate(() => performance.now())) - start;
  await ok(page);
  await page.waitForFunction(() => document.getElementById('L').value !== '', null, { polling: 'raf' });
  const results = (await page.evaluate(() => performance.now())) - start;
  await context.close();
  return { message, results };
}

async function digitLink() {
  const opened = await open(`?tizedesjel=1&Elettartam=${'1'.repeat(160_000)}x`, false);
  const { context, page } = opened;
  const failure = await messageOpen(opened);
  if (failure) {
    await context.close();
    return failure;
  }
  const message = await page.evaluate(() => performance.now());
  await ok(page);
  await page.waitForSelector('html[data-ready]');
  const results = await page.evaluate(() => performance.getEntriesByName('zeltano-first-results')[0].startTime);
  await context.close();
  return { message, results };
}

for (const [name, measure] of [['2 000 000 characters in a box, from Calculate', longBox],
  ['a link with separator "1" and 160 000 digits, from navigation start', digitLink]]) {
  const seen = [];
  for (let i = 0; i < runs; ++i) {
    const result = await measure();
    if (typeof result === 'string') {
      console.log(`${name}: ${result}`);
      break;
    }
    seen.push(result);
  }
  if (seen.length) {
    const ms = (key) => median(seen.map((s) => s[key])).toFixed(0);
    console.log(`${name}, ${seen.length} runs, median: message ${ms('message')} ms, results ${ms('results')} ms ` +
      `(results: ${seen.map((s) => s.results.toFixed(0)).join(', ')} ms)`);
  }
}
await browser.close();
server.stop();
