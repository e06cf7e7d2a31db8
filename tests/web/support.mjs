// Shared by the web tests: the two evaluators, the page's server and a
// headless Chromium that reaches nothing but that server.
import { spawn, spawnSync } from 'node:child_process';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

export const sourceDir = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const nativeEval = process.env.ZELTANO_NATIVE_EVAL ?? join(sourceDir, 'build/default/tools/zeltano-eval');
export const wasmEval = process.env.ZELTANO_WASM_EVAL ?? join(sourceDir, 'build/wasm/tools/zeltano-eval.js');
export const pageDir = process.env.ZELTANO_PAGE_DIR ?? join(sourceDir, 'build/wasm/web');

// Runs an evaluator on input lines; returns its exit status and raw output.
export function runEvaluator(command, args, input) {
  const run = spawnSync(command, args, { input, maxBuffer: 1 << 30 });
  if (run.error) throw run.error;
  return { status: run.status, stdout: run.stdout, stderr: run.stderr.toString() };
}

// The native evaluator's outcome for one request object.
export function nativeOutcome(request, separator = ',') {
  const { stdout } = runEvaluator(nativeEval, ['--decimal-separator', separator], `${JSON.stringify(request)}\n`);
  return JSON.parse(stdout.toString());
}

// Serves the built page (or another folder) on a free port of the loopback interface.
export async function startServer(folder = pageDir) {
  const server = spawn(process.execPath, [join(sourceDir, 'web/serve.mjs'), folder, '0'],
    { env: { ...process.env, HOST: '127.0.0.1' }, stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((found, failed) => {
    server.stdout.on('data', (chunk) => {
      const match = /http:\/\/localhost:(\d+)\//.exec(chunk.toString());
      if (match) found(`http://127.0.0.1:${match[1]}/`);
    });
    server.on('exit', (code) => failed(new Error(`the server exited with ${code}`)));
  });
  return { url, stop: () => server.kill() };
}

// Chromium from Debian; Playwright gives it a fresh profile folder of its own.
const chromiumOptions = {
  executablePath: process.env.ZELTANO_CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
};
export async function launchBrowser() {
  const { chromium } = await import('playwright-core');
  return chromium.launch(chromiumOptions);
}

// The same Chromium with its profile in `folder`, as a user's browser keeps
// one (its contexts are no incognito windows); returns its one context.
export async function launchProfile(folder) {
  const { chromium } = await import('playwright-core');
  return chromium.launchPersistentContext(folder, { ...chromiumOptions, locale: 'hu-HU' });
}
