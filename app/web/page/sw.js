// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps every file of the page so it works offline after the first visit. scripts/web.sh writes
// the version (a digest of all files) and the list when it builds the page: a new version caches
// the new files on the next visit and drops the old ones.
const VERSION = '@VERSION@';
const FILES = @FILES@;
const CACHE = `quorin-${VERSION}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) if (name !== CACHE) await caches.delete(name);
    await self.clients.claim();
  })());
});

// The cache first: the files of one version belong together.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(event.request, { ignoreSearch: true });
    return kept || fetch(event.request);
  })());
});
