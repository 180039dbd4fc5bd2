// Keeps the page working offline after its first load: every file of the build is cached under
// the build's name on install; requests are answered from the cache first. A new build has a
// new name, and the old cache is dropped when it takes over.
const kCache = 'tavrel1-@VERSION@-@BUILD@';
const kFiles = ['./', 'index.html', 'style.css', 'app.js', 'engine.js', 'combo.js', 'custom.js',
  'diagrams.js', 'tavrel1.mjs', 'tavrel1.wasm', 'components.json', 'icon.svg',
  'manifest.webmanifest', 'lib/uPlot.iife.min.js', 'lib/uPlot.min.css'];

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(kCache).then((c) => c.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('tavrel1-') && k !== kCache)
      .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (e) => {
  if (e.request.method !== 'GET' || new URL(e.request.url).origin !== location.origin) return;
  // The page with a state in its address is the same page: its query does not name a file.
  e.respondWith(caches.open(kCache)
    .then((c) => c.match(e.request, { ignoreSearch: true }))
    .then((hit) => hit ?? fetch(e.request)));
});
