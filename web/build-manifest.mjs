// Writes the page's web app manifest, with the window's colours taken from
// its Designer form: the background is the window's own yellow, the theme
// the orange of its version line.
//
// Usage: node web/build-manifest.mjs MAIN_WINDOW_UI OUTPUT

import { readFileSync, writeFileSync } from 'node:fs';

const [uiPath, outputPath] = process.argv.slice(2);
const form = readFileSync(uiPath, 'utf8');

// The Window colour of a widget's palette, as #rrggbb; the widget's own, not
// one of a child's (its palette comes before its first child widget).
function windowColour(name) {
  const own = new RegExp(`name="${name}">((?:(?!<widget)[\\s\\S])*?)<colorrole role="Window">` +
    '(?:(?!</colorrole>)[\\s\\S])*?<red>(\\d+)</red><green>(\\d+)</green><blue>(\\d+)</blue>').exec(form);
  if (!own) {
    console.error(`build-manifest: ${uiPath} gives ${name} no Window colour`);
    process.exit(1);
  }
  return `#${own.slice(2, 5).map((c) => Number(c).toString(16).padStart(2, '0')).join('')}`;
}

const manifest = {
  name: 'Zeltano-Redurir napkollektor-kalkulátor',
  short_name: 'Zeltano',
  description: 'Megmutatja, megtérül-e egy napkollektoros rendszer',
  lang: 'hu',
  dir: 'ltr',
  start_url: './index.html',
  scope: './',
  display: 'standalone',
  background_color: windowColour('Zeltano'),
  theme_color: windowColour('Label31'),
  icons: [
    { src: 'icon-192.png', sizes: '192x192', type: 'image/png' },
    { src: 'icon-512.png', sizes: '512x512', type: 'image/png' },
    { src: 'icon.svg', sizes: 'any', type: 'image/svg+xml' },
  ],
};
writeFileSync(outputPath, `${JSON.stringify(manifest, null, 2)}\n`);
