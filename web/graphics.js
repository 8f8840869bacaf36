// A worker that creates a WebGL context, then ends. It starts the
// browser's graphics (in a browser just started, its GPU process) off the
// page's thread, while the game is still downloading: the context the
// program then creates (web/tasks.c waits for this first) takes
// milliseconds, where it would have held the page for as long as that
// start takes. Where a worker has no WebGL, it ends at once.
'use strict';

const gl = new OffscreenCanvas(1, 1).getContext('webgl');
// A context is made only once the GPU side answers its first call.
if (gl) gl.getParameter(gl.VERSION);
postMessage(null);
close();
