// The WebAssembly evaluator answers every line byte for byte as the native
// one does: the evaluator's own test lines and generated ones (wrong texts,
// faults, extreme and fractional values), under both decimal separators, and
// with the analysis.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

import { nativeEval, runEvaluator, sourceDir, wasmEval } from './support.mjs';

const generated = spawnSync(process.execPath, [join(sourceDir, 'tests/web/generate-lines.mjs'), '3000'],
  { maxBuffer: 1 << 28 }).stdout;
const lines = Buffer.concat([readFileSync(join(sourceDir, 'tests/eval/lines.jsonl')), generated]);

// Both evaluators on the same lines: the same exit status and output.
function expectSameOutput(args, input) {
  const native = runEvaluator(nativeEval, args, input);
  const wasm = runEvaluator(process.execPath, [wasmEval, ...args], input);
  assert.equal(native.stdout.toString().split('\n').length, input.toString().split('\n').length);
  assert.equal(wasm.status, native.status);
  if (!wasm.stdout.equals(native.stdout)) {
    const a = native.stdout.toString().split('\n');
    const b = wasm.stdout.toString().split('\n');
    const at = a.findIndex((line, i) => line !== b[i]);
    assert.fail(`line ${at + 1} differs:\n native ${a[at]}\n wasm   ${b[at]}`);
  }
}

for (const separator of [',', '.']) {
  test(`native and WebAssembly evaluators agree byte for byte, separator "${separator}"`, () => {
    expectSameOutput(['--decimal-separator', separator], lines);
  });
}

// The analysis too, with the tornado model the page draws (its places are
// fractions of the scale), on the first few hundred lines.
test('native and WebAssembly evaluators agree on --analysis', () => {
  const some = lines.toString().split('\n').slice(0, 300).join('\n');
  expectSameOutput(['--analysis'], `${some}\n`);
});

// The risk runs: the same seed gives the same draws and figures in both,
// over ranges of three inputs (square roots and all), on a few lines.
test('native and WebAssembly evaluators agree on --risk', () => {
  const some = lines.toString().split('\n').slice(0, 12).join('\n');
  expectSameOutput(['--risk', 'Energiaarvalt=1:6:12', '--risk', 'Qkoll=350,5:600:700',
    '--risk', 'Kamatlab=2:6:9', '--runs', '2000', '--seed', '20261209'], `${some}\n`);
});

// The comparison of variants, groups of four generated lines (faults and
// wrong texts among them): one output line each, alike in both.
test('native and WebAssembly evaluators agree on --variants', () => {
  const all = lines.toString().split('\n').filter((line) => line.startsWith('{'));
  let compared = 0;
  for (let at = 0; at + 4 <= 80; at += 4) {
    const input = `${all.slice(at, at + 4).join('\n')}\n`;
    const native = runEvaluator(nativeEval, ['--variants'], input);
    const wasm = runEvaluator(process.execPath, [wasmEval, '--variants'], input);
    assert.equal(wasm.status, native.status);
    assert.ok(wasm.stdout.equals(native.stdout), `lines ${at + 1} to ${at + 4} differ`);
    if (native.status === 0) compared += 1;
  }
  assert.ok(compared >= 5, `only ${compared} groups were compared`);
});

test('the WebAssembly evaluator keeps the usage errors of the native one', () => {
  for (const args of [['--bogus'], ['--decimal-separator', '5'], ['--help']]) {
    const native = runEvaluator(nativeEval, args, '');
    const wasm = runEvaluator(process.execPath, [wasmEval, ...args], '');
    assert.equal(wasm.status, native.status, args.join(' '));
    assert.ok(wasm.stdout.equals(native.stdout), args.join(' '));
  }
});
