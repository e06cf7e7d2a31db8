// The web page's costs: what a first visit transfers (gzip, as a static
// server sends it), the time from navigation start to the first results
// in headless Chromium, and how long the analysis view takes to stand: the
// first time (F2, the worker starts) and after a Calculate (worker ready).
// Run by scripts/bench-web.
//
// Usage: node bench/web_page_bench.mjs [LOADS]   (default 15)
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';

import { launchBrowser, pageDir, startServer } from '../tests/web/support.mjs';

const loads = Number(process.argv[2] ?? 15);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;

// Every file the page loads is in its folder (nothing else is there but the
// build's Makefiles).
const files = readdirSync(pageDir).filter((f) => /\.(html|js|css|wasm|svg)$/.test(f));
let raw = 0;
let compressed = 0;
for (const file of files) {
  const data = readFileSync(join(pageDir, file));
  const gz = gzipSync(data, { level: 6 }).length;
  raw += statSync(join(pageDir, file)).size;
  compressed += gz;
  console.log(`  ${file.padEnd(22)} ${kib(data.length).padStart(10)} ${kib(gz).padStart(10)} gzip`);
}
console.log(`page transfer: ${kib(raw)} raw, ${kib(compressed)} gzip (${files.length} files)`);

const server = await startServer();
const browser = await launchBrowser();
const times = [];
const transferred = [];
for (let i = 0; i < loads; ++i) {
  // A fresh context each time: an empty cache, as on a first visit.
  const context = await browser.newContext({ locale: 'hu-HU' });
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  times.push(await page.evaluate(() => performance.getEntriesByName('zeltano-first-results')[0].startTime));
  transferred.push(await page.evaluate(() => performance.getEntriesByType('resource').length + 1));
  await context.close();
}

// The analysis, timed in the page from the key press to its figures.
const analysisDone = () => document.getElementById('Allapot').textContent.startsWith('Az elemzés a');
const firstAnalysis = [];
const againAnalysis = [];
for (let i = 0; i < 5; ++i) {
  const context = await browser.newContext({ locale: 'hu-HU' });
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  const timed = async (key) => {
    const start = await page.evaluate(() => performance.now());
    await page.keyboard.press(key);
    await page.waitForFunction(analysisDone, null, { polling: 'raf' });
    return (await page.evaluate(() => performance.now())) - start;
  };
  firstAnalysis.push(await timed('F2'));
  againAnalysis.push(await timed('Alt+S'));
  await context.close();
}
await browser.close();
server.stop();
console.log(`analysis view from F2 to its figures, worker starting, 5 loads: median ${median(firstAnalysis).toFixed(0)} ms; ` +
  `after a Calculate (Alt+S, the run included): median ${median(againAnalysis).toFixed(0)} ms`);
console.log(`first results after navigation start, ${loads} cold loads: median ${median(times).toFixed(0)} ms ` +
  `(min ${Math.min(...times).toFixed(0)}, max ${Math.max(...times).toFixed(0)}), ${transferred[0]} requests`);
