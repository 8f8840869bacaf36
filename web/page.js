// The page around the game: its language, Emscripten's settings for it, the
// loading indicator, and what the page says when the program ends, from its
// exit status and what it printed (docs/WEB.md).
'use strict';

const canvas = document.getElementById('canvas');
const progress = document.getElementById('progress');
const [deal, quit, full] = ['deal', 'quit', 'full'].map((id) => document.getElementById(id));
const printed = [];

// The language: the one the player chose in the menu, else the first of the
// browser's that the page speaks, a region's tag falling back to its
// language's (pt-BR, then pt), else English. The menu lists them all.
const menu = document.getElementById('language');
const CHOSEN = 'zorvane-language';
function stored() {
  try {
    return localStorage.getItem(CHOSEN);
  } catch {
    return null; // storage refused: the browser's languages decide
  }
}
function browserLanguage() {
  const options = [...menu.options];
  for (const tag of navigator.languages) {
    const parts = tag.toLowerCase().split('-');
    for (let n = parts.length; n > 0; n -= 1) {
      const found = options.find((option) => option.lang.toLowerCase() === parts.slice(0, n).join('-'));
      if (found) return found.value;
    }
  }
  return 'en';
}
menu.value = stored() || browserLanguage();
if (menu.selectedIndex < 0) menu.value = browserLanguage();
const language = menu.value;
document.documentElement.lang = menu.selectedOptions[0].lang;
document.documentElement.dir = menu.selectedOptions[0].dir || 'ltr';

// The page's strings in that language, a gettext catalogue from its .po
// file: the English text, after its context and \u0004 where it has one,
// to the translation. Until it comes, and for English, the page's own.
let catalogue = {};
function translated(text, context) {
  return catalogue[context ? `${context}\u0004${text}` : text] || text;
}
// A hint's key names are <kbd> elements.
function show(element, text) {
  element.replaceChildren(...text.split(/<kbd>(.*?)<\/kbd>/).map((part, i) => {
    if (i % 2 === 0) return part;
    const key = document.createElement('kbd');
    key.textContent = part;
    return key;
  }));
}
function translatePage() {
  for (const element of document.querySelectorAll('[data-translate]')) {
    const [attribute, context] = [element.dataset.translate, element.dataset.context];
    if (attribute) element.setAttribute(attribute, translated(element.getAttribute(attribute), context));
    else show(element, translated(element.innerHTML, context));
  }
}
const strings = (code) => `strings-${code}.json`;
fetch(strings(language)).then((response) => response.json()).then((found) => {
  catalogue = found;
  translatePage();
}).catch(() => {}); // the page stays in English

// Marks a text for xgettext; it is translated where it is shown.
const N_ = (text) => text;

// The exit statuses of the README's table, as a player reads them, and a
// failure of the page itself.
const ENDINGS = {
  // Translators: how the run ended, shown over the board.
  0: N_('Won: every row is sorted.'),
  1: N_('This browser cannot draw the game.'),
  2: N_('A picture could not be loaded.'),
  100: N_('The game was ended.'),
  error: N_('The game could not run.'),
};

function showEnd(status, message) {
  const end = document.getElementById('end');
  if (!end.hidden) return;
  document.getElementById('loading').hidden = true;
  end.dataset.status = status;
  document.getElementById('how').textContent = ENDINGS[status] ? translated(ENDINGS[status])
    // Translators: {status} is the program's exit status, a number.
    : translated('The game ended with status {status}.').replace('{status}', status);
  document.getElementById('printed').textContent = message;
  end.hidden = false;
  deal.disabled = quit.disabled = true;
  document.getElementById('again').focus();
}

var Module = {
  canvas: canvas,
  // SDL listens for keys on the canvas alone: the page's button keeps its
  // own Space and Enter.
  preRun: [() => { Module.ENV.SDL_EMSCRIPTEN_KEYBOARD_ELEMENT = '#canvas'; }],
  print: (line) => printed.push(line),
  printErr: (line) => console.warn(line),
  // The program waits for the first time on its welcome picture
  // (web/wait.c).
  onFirstWait: () => {
    document.getElementById('loading').hidden = true;
    deal.disabled = quit.disabled = false;
    canvas.focus();
  },
  onExit: (status) => showEnd(status, printed.join('\n')),
  onAbort: (what) => showEnd('error', String(what)),
  // The program, from the fetch the page began, compiled as it arrives; a
  // server that does not call it WebAssembly has it compiled once whole.
  instantiateWasm: (imports, receive) => {
    preloaded('zorvane.wasm').then((response) => WebAssembly.instantiateStreaming(response.clone(), imports)
      .catch(() => response.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports))))
      .then((made) => receive(made.instance, made.module), (error) => showEnd('error', String(error)));
    return {};
  },
};

// Buttons for the keys the program waits for, where a player may have no
// keyboard: a coarse pointer, or from the first touch on. A touch on the board
// is already a mouse press for the program.
function showFingerControls() {
  document.documentElement.classList.add('touch');
}
const fingers = matchMedia('(pointer: coarse)').matches;
if (fingers) showFingerControls();
addEventListener('touchstart', showFingerControls, { capture: true, passive: true });

// A file that index.html has the browser preload: each browser hands the
// preloaded response to a fetch made exactly as its preload was, without
// CORS and with credentials, and fetches it again for any other.
function preloaded(name) {
  return fetch(name, { mode: 'no-cors', credentials: 'include' });
}

// The pictures with words come in two variants: the touch one, where the
// finger controls show from the start, names no key and says what a finger
// does. The page fetches the one it shows at once, beside the signs, which
// the browser is already fetching (index.html), and the program reads both
// as it asks for each picture (web/pictures.c); the bar counts what has
// come.
const variant = fingers ? 'touch' : 'keyboard';
const filesOf = (code) => [strings(code), `words-${code}-${variant}.tar.lzma`];
const languageFiles = filesOf(language);
let [arrived, expected] = [0, 0];
function archive(name) {
  return preloaded(name).then((response) => {
    expected += Number(response.headers.get('Content-Length')) || 0;
    const counted = new TransformStream({
      transform(chunk, out) {
        arrived += chunk.length;
        [progress.value, progress.max] = [arrived, Math.max(arrived, expected)];
        out.enqueue(chunk);
      },
    });
    return new Response(response.body.pipeThrough(counted), response);
  });
}
Module.pictures = [archive('signs.tar.lzma'), archive(languageFiles[1])];

// The browser's graphics, started off the page's thread at once
// (web/graphics.js); the program waits for them before it creates its
// WebGL context (web/tasks.c). A browser that cannot goes on at once.
Module.graphics = new Promise((ready) => {
  try {
    const worker = new Worker('graphics.js');
    worker.onmessage = worker.onerror = () => ready();
  } catch {
    ready();
  }
});

// A key pressed and released on the canvas, where SDL listens: it reads
// where the key lies from code, and which it is from keyCode. The keyboard
// stays with the game, not with the button pressed.
function press(key, code, keyCode) {
  canvas.focus();
  for (const type of ['keydown', 'keyup']) {
    canvas.dispatchEvent(new KeyboardEvent(type, { key, code, keyCode, bubbles: true }));
  }
}
function dealSigns() {
  press(' ', 'Space', 32);
  deal.disabled = true; // the program ignores Space after the deal
}
deal.addEventListener('click', dealSigns);
// The touch welcome says a tap on the board starts: until the deal, a tap
// is Deal.
if (variant === 'touch') {
  canvas.addEventListener('pointerup', () => { if (!deal.disabled) dealSigns(); });
}
quit.addEventListener('click', () => press('Escape', 'Escape', 27));

// Full screen, turned sideways where the browser allows either.
full.hidden = !document.fullscreenEnabled;
full.addEventListener('click', () => {
  canvas.focus();
  document.documentElement.requestFullscreen()
    .then(() => screen.orientation.lock('landscape'))
    .catch(() => {}); // the page stays as it was
});

// SDL takes the mouse button's default action away, the focus with it.
canvas.addEventListener('pointerdown', () => canvas.focus());
// Any button carries a sign; neither the right one nor a long press opens a
// menu.
document.getElementById('board').addEventListener('contextmenu', (event) => event.preventDefault());
document.getElementById('again').addEventListener('click', () => location.reload());

// Another language reloads the page in it, once its files are at hand: from
// the network, or kept for offline play; else the page says it needs the
// network, and stays as it is.
menu.addEventListener('change', () => {
  const chosen = menu.value;
  menu.value = language;
  Promise.all(filesOf(chosen).map((name) => fetch(name).then((response) => {
    if (!response.ok) throw new Error(`${name}: ${response.status}`);
  }))).then(() => {
    localStorage.setItem(CHOSEN, chosen);
    location.reload();
  }, () => { document.getElementById('offline-language').hidden = false; });
});

// An exit inside one of SDL's event handlers (Escape) leaves through the
// browser as an uncaught ExitStatus: the end of the run, not an error. Any
// other uncaught error, a file that would not load included, ends the run.
addEventListener('error', (event) => {
  if (event.error && event.error.name === 'ExitStatus') {
    event.preventDefault();
  } else {
    showEnd('error', event.message || `${event.target.src} could not be loaded.`);
  }
}, true);
