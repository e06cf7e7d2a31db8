// Pictures of the page for the documentation: a desktop browser and a 360 px
// wide phone, both showing the start-up run, and the start-up run's analysis.
// Run by scripts/screenshot-web.
//
// Usage: node web/screenshots.mjs OUTPUT_DIR
import { join } from 'node:path';

import { launchBrowser, startServer } from '../tests/web/support.mjs';

const output = process.argv[2] ?? 'docs';
const server = await startServer();
const browser = await launchBrowser();
const shots = [
  { file: 'web-desktop.png', viewport: { width: 1024, height: 640 }, fullPage: false },
  { file: 'web-phone.png', viewport: { width: 360, height: 760 }, fullPage: true, isMobile: true },
  { file: 'web-analysis.png', viewport: { width: 1024, height: 640 }, analysis: true },
];
for (const { file, fullPage, analysis, ...options } of shots) {
  const context = await browser.newContext({ locale: 'hu-HU', ...options });
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  if (analysis) {
    await page.keyboard.press('F2');
    await page.waitForFunction(() => document.getElementById('Allapot').textContent.startsWith('Az elemzés a'));
    await page.locator('#Elemzes').screenshot({ path: join(output, file) });
  } else {
    await page.screenshot({ path: join(output, file), fullPage });
  }
  await context.close();
  console.log(`Wrote ${join(output, file)}`);
}
await browser.close();
server.stop();
