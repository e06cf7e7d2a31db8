// A small static file server for the built page (node only, no packages).
// Usage: node web/serve.mjs [FOLDER] [PORT]   (default build/wasm/web, 8080)
// Listens on localhost only; HOST=0.0.0.0 serves the local network too.
import { createServer } from 'node:http';
import { createReadStream, statSync } from 'node:fs';
import { extname, join, resolve, sep } from 'node:path';

const root = resolve(process.argv[2] ?? 'build/wasm/web');
const port = Number(process.argv[3] ?? process.env.PORT ?? 8080);
const host = process.env.HOST ?? 'localhost';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// A link to the page carries the box texts in its query, and a browser sends
// up to 2 MiB of URL: node's default of 16 KiB for the request head would
// refuse a link with a long text before the page could report it.
const server = createServer({ maxHeaderSize: 2 * 1024 * 1024 + 64 * 1024 }, (request, response) => {
  let path;
  try {
    path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  } catch {
    response.writeHead(400).end();
    return;
  }
  if (path.endsWith('/')) path += 'index.html';
  const file = resolve(join(root, path));
  let stat;
  try {
    stat = file.startsWith(root + sep) ? statSync(file) : null;
  } catch {
    stat = null;
  }
  if (!stat?.isFile() || (request.method !== 'GET' && request.method !== 'HEAD')) {
    response.writeHead(stat ? 405 : 404, { 'Content-Type': 'text/plain; charset=utf-8' });
    response.end(stat ? 'Method not allowed\n' : 'Not found\n');
    return;
  }
  response.writeHead(200, {
    'Content-Type': types[extname(file)] ?? 'application/octet-stream',
    'Content-Length': stat.size,
    'Cache-Control': 'no-cache',
    'X-Content-Type-Options': 'nosniff',
  });
  if (request.method === 'HEAD') response.end();
  else createReadStream(file).pipe(response);
});
server.listen(port, host, () => {
  const { port: bound } = server.address();
  console.log(`Zeltano-Redurir: http://localhost:${bound}/  (${root}; Ctrl+C stops)`);
});
