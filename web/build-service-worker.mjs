// Writes the page's service worker from its template: the version, the
// page's files to keep and a digest of their contents. Also writes the list
// of the page's files, the service worker included (what a release packs).
//
// Usage: node web/build-service-worker.mjs TEMPLATE PAGE_DIR VERSION LIST_OUTPUT FILE...
// (the service worker goes to PAGE_DIR/service-worker.js)

import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [templatePath, pageDir, version, listPath, ...files] = process.argv.slice(2);
const worker = 'service-worker.js';

const digest = createHash('sha256');
for (const file of [...files].sort()) {
  digest.update(`${file}\0`);
  digest.update(readFileSync(join(pageDir, file)));
}
const replacements = {
  version,
  files: JSON.stringify(files),
  digest: digest.digest('hex').slice(0, 16),
};
const source = readFileSync(templatePath, 'utf8').replace(/\{\{(\w+)\}\}/g, (whole, name) => {
  if (!(name in replacements)) {
    console.error(`build-service-worker: ${templatePath}: unknown placeholder ${whole}`);
    process.exit(1);
  }
  return replacements[name];
});
writeFileSync(join(pageDir, worker), source);
writeFileSync(listPath, [...files, worker].sort().map((f) => `${f}\n`).join(''));
