// The risk view's speed in the page: 10 000 risk runs of the start-up
// scenario with the three ranges offered (the replaced energy's price
// change 2/6/10, the collectors' yield 420/600/660, the interest rate
// 4/6/8), in the page's Web Worker, in headless Chromium, timed in the page
// from the "Futtatás" click to the result on show (the worker's start
// included the first time). The figures are checked against the native
// zeltano-eval --risk for the same seed. Run by scripts/bench-web.
//
// Usage: node bench/web_risk_bench.mjs [REPEATS] [RUNS]   (default 5, 10000)
import { execFileSync } from 'node:child_process';

import { launchBrowser, nativeEval, startServer } from '../tests/web/support.mjs';

const repeats = Number(process.argv[2] ?? 5);
const runs = String(process.argv[3] ?? 10000);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];

const server = await startServer();
const browser = await launchBrowser();
const context = await browser.newContext({ locale: 'hu-HU' });
const page = await context.newPage();
await page.goto(server.url);
await page.waitForSelector('html[data-ready]');
await page.keyboard.press('F3');
await page.fill('#Futasok', runs);

const times = [];
for (let i = 0; i < repeats; ++i) {
  await page.fill('#Kezdoertek', String(i + 1));
  const start = await page.evaluate(() => {
    delete document.getElementById('Hisztogram').dataset.risk;
    return performance.now();
  });
  await page.click('#Futtatas-gomb');
  await page.waitForFunction(() => document.getElementById('Hisztogram').dataset.risk !== undefined,
    null, { polling: 'raf', timeout: 600000 });
  times.push((await page.evaluate(() => performance.now())) - start);
}
const shown = await page.evaluate(() => document.getElementById('Hisztogram').dataset.risk);
await browser.close();
server.stop();

const native = execFileSync(nativeEval, ['--risk', 'Energiaarvalt=2:6:10', '--risk', 'Qkoll=420:600:660',
  '--risk', 'Kamatlab=4:6:8', '--runs', runs, '--seed', String(repeats)], { input: '{}\n' }).toString();
const same = native.includes(`"risk":${shown}`);
console.log(`risk view in the page's worker, ${runs} runs, ${repeats} repeats: ` +
  `first (worker starting) ${times[0].toFixed(0)} ms, median ${median(times).toFixed(0)} ms ` +
  `(min ${Math.min(...times).toFixed(0)}, max ${Math.max(...times).toFixed(0)}), ` +
  `${(median(times) * 1000 / Number(runs)).toFixed(1)} µs a run; ` +
  `the same figures as zeltano-eval --risk: ${same ? 'yes' : 'NO'}`);
if (!same) process.exit(1);
