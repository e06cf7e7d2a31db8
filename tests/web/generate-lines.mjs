// Writes evaluator input lines for comparing two evaluators byte by byte:
// ordinary, fractional and extreme values, wrong texts in many shapes, runs
// that end on an arithmetic fault, texts with either decimal separator, and a
// few lines that are not valid requests at all. The same seed always gives the
// same lines.
//
// Usage: node tests/web/generate-lines.mjs [COUNT] [SEED]   (default 3000 lines)

const count = Number(process.argv[2] ?? 3000);
let seed = Number(process.argv[3] ?? 20261208) >>> 0;

// mulberry32: small, fast and the same everywhere.
function random() {
  seed = (seed + 0x6d2b79f5) >>> 0;
  let t = seed;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (items) => items[Math.floor(random() * items.length)];
const integer = (low, high) => low + Math.floor(random() * (high - low + 1));
const digits = (n) => Array.from({ length: n }, () => integer(0, 9)).join('');

const fields = [
  'Elettartam', 'Beruhazas', 'Tamogatas', 'Maradvanyertek', 'Kamatlab', 'Akoll', 'Qkoll',
  'Karbkolts', 'Karbkoltsvalt', 'Villanyar', 'Uzemkolts', 'Uzemkoltsvalt', 'Egyebkolts',
  'Egyebkoltsvalt', 'Energiaar', 'Energiaarvalt',
];

const wrongTexts = [
  '', ' ', '\t', 'abc', '1,2,3', '1.2.3', '--5', '+-5', '+', '-', ',', '.', '5e3', '1E2', '0x10',
  '1 000', '12a', 'a12', '½', '∞', 'NaN', 'inf', '-inf', '١٢', '１２', '٫5', '3,', ',5', '.5',
  '3.', '6 m2', '25 év', '\u00a012', '12\u00a0', '"12"', '\\', '12\n', 'ő', '💡',
];

const extremeTexts = [
  '0', '-0', '+0', '1', '-1', '50', '50,0000001', '100', '100,00001', '1000', '0,1', '0,09999',
  '0,00001', '0,00005', '0,00015', '0,000049999', '999999999999999', '922337203685477',
  '922337203685477,5807', '922337203685477,5808', '922337203685478', '-922337203685477,5808',
  '2147483647', '2147483648', '32767', '32768', '1' + '0'.repeat(30), '1' + '0'.repeat(308),
  '1' + '0'.repeat(400), '0,' + '0'.repeat(330) + '1', '9'.repeat(400), '0000000000012',
  '12,3400000000', ' 12 ', '\t7\t', '+7', '99,99', '19,27', '0,5', '0,2',
];

// A number in the field's useful range, sometimes with a fraction.
function ordinary(field) {
  const ranges = {
    Elettartam: [1, 50], Beruhazas: [1, 50000000], Tamogatas: [0, 100], Maradvanyertek: [0, 100],
    Kamatlab: [1, 100], Akoll: [1, 5000], Qkoll: [1, 1000], Karbkolts: [0, 100],
    Karbkoltsvalt: [0, 100], Villanyar: [1, 500], Uzemkolts: [1, 20], Uzemkoltsvalt: [0, 100],
    Egyebkolts: [0, 100], Egyebkoltsvalt: [0, 100], Energiaar: [1, 500], Energiaarvalt: [0, 100],
  };
  const [low, high] = ranges[field];
  const whole = integer(low, high);
  if (random() < 0.6) return String(whole);
  const fraction = digits(integer(1, 9));
  return `${Math.max(low, whole - 1)}${random() < 0.8 ? ',' : '.'}${fraction}`;
}

// Large amounts that push the yearly figures or the chart past their ranges.
function faulting(field) {
  const big = ['Beruhazas', 'Akoll', 'Villanyar', 'Energiaar'];
  if (!big.includes(field)) return ordinary(field);
  return pick(['2147483648', '99999999999', '500000000000', digits(integer(10, 15)).replace(/^0+/, '1')]);
}

function text(field) {
  const kind = random();
  if (kind < 0.35) return ordinary(field);
  if (kind < 0.55) return pick(wrongTexts);
  if (kind < 0.8) return pick(extremeTexts);
  if (kind < 0.95) return faulting(field);
  const sign = pick(['', '-', '+']);
  return `${sign}${digits(integer(1, 20))}${pick([',', '.'])}${digits(integer(1, 25))}`;
}

const lines = [];
for (let i = 0; i < count; ++i) {
  if (i % 250 === 249) {
    lines.push(pick(['not json', '[]', '{"Elettartam":25}', '{"Ismeretlen":"1"}', '{"Akoll":null}', '{']));
    continue;
  }
  const request = {};
  const changes = i % 10 === 0 ? 0 : integer(1, 5);
  for (let c = 0; c < changes; ++c) {
    const field = pick(fields);
    request[field] = text(field);
  }
  if (i % 17 === 5) request.Energiaarvalt = '0';
  if (i % 19 === 7) request.Tamogatas = '100';
  lines.push(JSON.stringify(request));
}
process.stdout.write(lines.join('\n') + '\n');
