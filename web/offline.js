// Offline play (docs/WEB.md): once the game shows its welcome picture, the
// service worker sw.js keeps this build, with the language in use, for the
// next visits. A newer build that it finds waits until the player has
// nothing to lose: the page, loaded whole from
// the older build, lets it take over while the welcome picture is up and
// untouched, then reloads; or once the run has ended, and "Play again"
// loads it. A game in progress is never interrupted. Loaded after page.js
// and before the game's scripts, whose hooks it joins.
'use strict';

(() => {
  if (!('serviceWorker' in navigator)) return;
  let registration = null, touched = false, ended = false, reloadOnChange = false;

  function offerTakeOver() {
    const waiting = registration && registration.waiting;
    if (!waiting || !navigator.serviceWorker.controller || (touched && !ended)) return;
    reloadOnChange = !ended;
    waiting.postMessage('take over');
  }

  // Any key or press may have started a game: the welcome is no longer
  // untouched.
  for (const type of ['keydown', 'pointerdown']) {
    addEventListener(type, () => { touched = true; }, true);
  }
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (reloadOnChange && !touched) location.reload();
  });

  // Emscripten calls these hooks of the page's Module (page.js) when they
  // happen.
  function after(hook, then) {
    const before = Module[hook];
    Module[hook] = (...args) => {
      before?.(...args);
      then();
    };
  }
  // The program first waits once its welcome picture is drawn: the worker's
  // work, after it, never delays that picture, nor competes with its files.
  after('onFirstWait', () => setTimeout(() =>
    navigator.serviceWorker.register('sw.js').then((found) => {
      registration = found;
      found.update().catch(() => {});  // offline: the next visit looks again
      found.addEventListener('updatefound', () =>
        found.installing.addEventListener('statechange', offerTakeOver));
      offerTakeOver();
      // The build's worker in use keeps this page's language for next time.
      return navigator.serviceWorker.ready;
    }).then((ready) => ready.active.postMessage({ keep: languageFiles }))
      .catch(() => {})));  // no worker (refused, or blocked): no offline play
  after('onExit', () => {
    ended = true;
    offerTakeOver();
  });
})();
