// The service worker: keeps one build's files in a cache named after the
// build's content and serves the page from it, so that the game loads
// with no network. A newer build installs beside it and takes over only when
// the page asks (offline.js; docs/WEB.md). The build's name and its files
// with their SHA-256 are written in at install (cmake/WebCache.cmake).
'use strict';

const BUILD = '@BUILD@';
const FILES = {@FILES@};
const CACHE = `zorvane-${BUILD}`;

// A file exactly as this build made it: the browser's HTTP cache's copy when
// it is that one, else the server's. Where the server has since moved on to
// another build the install fails, and the next visit installs that one.
async function fetchExact(name) {
  const digest = FILES[name].match(/../g).map((hex) => parseInt(hex, 16));
  const exact = {integrity: `sha256-${btoa(String.fromCharCode(...digest))}`};
  try {
    return await fetch(name, exact);
  } catch {
    return fetch(name, {...exact, cache: 'reload'});
  }
}

// Each language's files are kept once a page has used them (the page says
// which); the rest of the build, and the languages the build before kept,
// at install.
const ON_USE = /^(words|strings)-/;
const nameOf = (request) => new URL(request.url).pathname.split('/').pop();

async function keep(cache, names) {
  const kept = new Set((await cache.keys()).map(nameOf));
  await Promise.all(names.filter((name) => name in FILES && !kept.has(name))
    .map(async (name) => cache.put(name, await fetchExact(name))));
}

async function usedBefore() {
  const names = (await caches.keys()).filter((name) => name.startsWith('zorvane-') && name !== CACHE);
  const kept = await Promise.all(names.map(async (name) => (await caches.open(name)).keys()));
  return kept.flat().map(nameOf);
}

// An install that fails leaves no part of the build behind.
addEventListener('install', (event) => event.waitUntil(usedBefore().then(async (used) =>
  keep(await caches.open(CACHE), Object.keys(FILES).filter((name) => !ON_USE.test(name) || used.includes(name))))
  .catch((error) => caches.delete(CACHE).then(() => Promise.reject(error)))));

// Once this build is the one in use, older builds' caches go.
addEventListener('activate', (event) => event.waitUntil(caches.keys().then((names) =>
  Promise.all(names.filter((name) => name.startsWith('zorvane-') && name !== CACHE)
    .map((name) => caches.delete(name))))));

addEventListener('message', (event) => {
  if (event.data === 'take over') skipWaiting();
  // A build replaced meanwhile keeps nothing: opening its deleted cache
  // would make it again, beside the newer build's.
  else if (event.data.keep) {
    event.waitUntil(caches.has(CACHE).then(async (has) => has && keep(await caches.open(CACHE), event.data.keep)));
  }
});

// The build's files from its cache, whatever the query; anything else from
// the network.
addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== location.origin) return;
  const name = url.pathname.endsWith('/') ? `${url.pathname}index.html` : url.pathname;
  event.respondWith(caches.open(CACHE).then((cache) => cache.match(name))
    .then((kept) => kept || fetch(event.request)));
});
