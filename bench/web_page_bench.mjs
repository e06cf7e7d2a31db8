// The web page's costs: what a first visit transfers (gzip, as a static
// server sends it), the time from navigation start to the first results
// on screen in headless Chromium, against the first paint of a copy of the
// page with its scripts removed (its HTML and CSS alone), and how long the analysis view takes to stand: the
// first time (F2, the worker starts) and after a Calculate (worker ready).
// Run by scripts/bench-web.
//
// Usage: node bench/web_page_bench.mjs [LOADS]   (default 15)
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
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
const firstPaint = () => performance.getEntriesByName('first-contentful-paint')[0]?.startTime;
// Navigation start to the first results on screen, cold (a fresh context:
// an empty cache, as on a first visit). Results in the document before the
// first paint are in it; otherwise they are painted in the frame after they
// were written.
async function firstResults(url) {
  const context = await browser.newContext({ locale: 'hu-HU' });
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForSelector('html[data-ready]');
  await page.waitForFunction(firstPaint);
  const time = await page.evaluate(() => Math.max(
    performance.getEntriesByName('zeltano-first-results')[0].startTime,
    performance.getEntriesByName('first-contentful-paint')[0].startTime));
  const requests = await page.evaluate(() => performance.getEntriesByType('resource').length + 1);
  await context.close();
  return { time, requests };
}
const first = [];
const linked = [];  // a scenario in the address: computed on load
for (let i = 0; i < loads; ++i) {
  first.push(await firstResults(server.url));
  linked.push(await firstResults(`${server.url}?Tamogatas=10`));
}
const times = first.map((r) => r.time);
const linkedTimes = linked.map((r) => r.time);

// The same page's HTML and CSS alone: a copy of the folder without scripts.
const bare = mkdtempSync(join(tmpdir(), 'zeltano-bare-'));
cpSync(pageDir, bare, { recursive: true });
writeFileSync(join(bare, 'index.html'),
  readFileSync(join(pageDir, 'index.html'), 'utf8').replace(/<script\b[^>]*>[\s\S]*?<\/script>/g, ''));
const bareServer = await startServer(bare);
const bareTimes = [];
for (let i = 0; i < loads; ++i) {
  const context = await browser.newContext({ locale: 'hu-HU' });
  const page = await context.newPage();
  await page.goto(bareServer.url);
  await page.waitForFunction(firstPaint);
  bareTimes.push(await page.evaluate(firstPaint));
  await context.close();
}
bareServer.stop();
rmSync(bare, { recursive: true });

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
console.log(`first results on screen after navigation start, ${loads} cold loads: median ${median(times).toFixed(0)} ms ` +
  `(min ${Math.min(...times).toFixed(0)}, max ${Math.max(...times).toFixed(0)}), ${first[0].requests} requests; ` +
  `with a scenario in the address (computed on load): median ${median(linkedTimes).toFixed(0)} ms`);
console.log(`the page's HTML and CSS alone (scripts removed), first paint, ${loads} cold loads: median ` +
  `${median(bareTimes).toFixed(1)} ms (min ${Math.min(...bareTimes).toFixed(1)}, max ${Math.max(...bareTimes).toFixed(1)}); ` +
  `first results / that paint: ${(median(times) / median(bareTimes)).toFixed(2)}`);
