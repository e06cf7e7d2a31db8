// The WebAssembly evaluator answers every line byte for byte as the native
// one does: the evaluator's own test lines and generated ones (wrong texts,
// faults, extreme and fractional values), under both decimal separators, and
// with the analysis.
import assert from 'node:assert/strict';
import { spawn, spawnSync } from 'node:child_process';
import { openSync, readFileSync } from 'node:fs';
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

// A CSV row's cells, its quotes undone.
function csvCells(row, delimiter) {
  const cells = [];
  let cell = '';
  let quoted = false;
  for (let i = 0; i < row.length; i += 1) {
    const c = row[i];
    if (quoted && c === '"' && row[i + 1] === '"') {
      cell += '"';
      i += 1;
    } else if (c === '"') {
      quoted = !quoted;
    } else if (c === delimiter && !quoted) {
      cells.push(cell);
      cell = '';
    } else {
      cell += c;
    }
  }
  return [...cells, cell];
}

// CSV rows are made from the run itself, not from the output object: each
// row must still say what the JSON line says (labels, fault, error), and
// the WebAssembly's rows must be the native ones byte for byte.
for (const [separator, delimiter] of [[',', ';'], ['.', ',']]) {
  test(`CSV rows carry the output lines' labels, fault and error, separator "${separator}"`, () => {
    const args = ['--decimal-separator', separator];
    const csv = runEvaluator(nativeEval, [...args, '--csv'], lines);
    const wasmCsv = runEvaluator(process.execPath, [wasmEval, ...args, '--csv'], lines);
    assert.equal(wasmCsv.status, csv.status);
    assert.ok(wasmCsv.stdout.equals(csv.stdout), 'the WebAssembly CSV differs');
    const rows = csv.stdout.toString().split('\n');
    const objects = runEvaluator(nativeEval, args, lines).stdout.toString().split('\n');
    const header = csvCells(rows[0], delimiter);
    assert.equal(rows.length, objects.length + 1);
    let faults = 0;
    let errors = 0;
    objects.slice(0, -1).forEach((text, i) => {
      const output = JSON.parse(text);
      const cells = csvCells(rows[i + 1], delimiter);
      assert.equal(cells.length, header.length, `row ${i + 1}`);
      const expected = [String(i + 1),
        ...header.slice(1, -2).map((label) => output.labels?.[label] ?? ''),
        output.fault ?? '', output.error ?? ''];
      assert.deepEqual(cells, expected, `line ${i + 1}`);
      if (output.fault) faults += 1;
      if (output.error) errors += 1;
    });
    assert.ok(faults > 10 && errors > 10, `${faults} faults, ${errors} errors`);
  });
}

// A program talking to the evaluator through pipes gets each answer before
// it sends the next line, although the evaluator writes its output in
// batches where the input has more lines at hand.
async function converse(command, args) {
  const child = spawn(command, args, { stdio: ['pipe', 'pipe', 'inherit'] });
  const answers = [];
  let pending = '';
  let waiting = null;
  child.stdout.on('data', (chunk) => {
    pending += chunk.toString();
    const lines = pending.split('\n');
    pending = lines.pop();
    answers.push(...lines);
    if (waiting && answers.length >= waiting.count) waiting.resolve();
  });
  const answered = (count) => new Promise((resolve, reject) => {
    if (answers.length >= count) return resolve();
    waiting = { count, resolve };
    setTimeout(() => {
      child.kill();
      reject(new Error(`no answer to line ${count} within 20 s`));
    }, 20000).unref();
  });
  for (let n = 1; n <= 3; n += 1) {
    child.stdin.write(`{"Tamogatas":"${10 * n}"}\n`);
    await answered(n);
  }
  child.stdin.end();
  const status = await new Promise((resolve) => child.on('exit', resolve));
  return { status, answers };
}

test('both evaluators answer each line before the next one is sent', async () => {
  const native = await converse(nativeEval, ['--jobs', '1']);
  const wasm = await converse(process.execPath, [wasmEval]);
  assert.equal(native.status, 0);
  assert.equal(wasm.status, 0);
  assert.equal(native.answers.length, 3);
  assert.deepEqual(wasm.answers, native.answers);
});

// An input that cannot be read is a failure, in both: not an empty success.
test('both evaluators report an input that cannot be read', () => {
  for (const [command, args] of [[nativeEval, ['--jobs', '1']], [process.execPath, [wasmEval]]]) {
    const run = spawnSync(command, args, { stdio: [openSync(sourceDir, 'r'), 'pipe', 'pipe'] });
    assert.equal(run.status, 3, command);
    assert.match(run.stderr.toString(), /^zeltano-eval: cannot read the input: /);
  }
});
