// Keeps the page for use without a network: the page, from the network while there is one, else
// as last fetched. The page is one file, so caching it caches everything.
const cacheName = 'correlatore';

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(['./'])));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      event.waitUntil(caches.open(cacheName).then((cache) => cache.put(event.request, copy)));
    }
    return response;
  }).catch(() => caches.match(event.request, { ignoreSearch: true })
    .then((cached) => cached ?? caches.match('./'))));
});
