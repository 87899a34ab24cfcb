// SPDX-License-Identifier: GPL-3.0-or-later
// Serves the built page (build/web) on 127.0.0.1 only: node app/web/serve.js FOLDER [PORT].
// Port 0 takes a free one; the address goes to stdout as the first line.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const folder = path.resolve(process.argv[2] || 'build/web');
const port = Number(process.argv[3] || 8080);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.wasm': 'application/wasm',
  '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain; charset=utf-8',
};

const server = http.createServer((request, response) => {
  let name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(folder, path.normalize(name));
  if (!file.startsWith(folder + path.sep)) {
    response.writeHead(403).end();
    return;
  }
  fs.readFile(file, (error, data) => {
    if (error) {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
      return;
    }
    // Always asked again, so a new version reaches the service worker at the next visit.
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                              'Cache-Control': 'no-cache' });
    response.end(data);
  });
});

server.listen(port, '127.0.0.1', () => {
  console.log(`http://127.0.0.1:${server.address().port}/`);
});
for (const signal of ['SIGINT', 'SIGTERM']) process.on(signal, () => server.close(() => process.exit(0)));
