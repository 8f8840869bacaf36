// The browser build keeps the program's start in short tasks: the page
// answers input meanwhile, and a slow phone counts no long task of the
// program's own. The program runs on the browser's thread until it first
// waits for an event, and its start (set-up, then a picture after another)
// would otherwise be one task. Here it gives the thread back, suspended
// through ASYNCIFY and resumed in a task of its own, around the creation of
// its renderer, whose WebGL context is one call that no page can split,
// and, through web/pictures.c, whenever it has run a few milliseconds:
// little enough for a CPU four times slower to stay under the 50 ms at
// which a task counts as long. Before the renderer it waits for the
// browser's graphics to have started, which in a browser just started can
// take as long as all the rest of the program's start.
#include <SDL.h>
#include <emscripten.h>

#include "tasks.h"

static const double TASK_MS = 10;

static double resumed;

// A message to itself comes back as a task of its own, with no timer's
// clamping: the browser draws and handles input in between.
EM_ASYNC_JS(void, yieldToBrowser, (), {
    await new Promise(function(resolve) {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(null);
    });
});

static void yieldNow(void)
{
    yieldToBrowser();
    resumed = emscripten_get_now();
}

void yieldIfLong(void)
{
    if (emscripten_get_now() - resumed >= TASK_MS)
        yieldNow();
}

// The browser's graphics, which the page starts off its thread
// (web/graphics.js): awaited, a task ends here.
EM_ASYNC_JS(void, waitForGraphics, (), {
    await Module['graphics'];
});

// Put in place of SDL's by the linker (-Wl,--wrap=SDL_CreateRenderer).
SDL_Renderer *__wrap_SDL_CreateRenderer(SDL_Window *window, int index,
                                        Uint32 flags)
{
    SDL_Renderer *__real_SDL_CreateRenderer(SDL_Window *, int, Uint32);
    waitForGraphics();
    resumed = emscripten_get_now();
    SDL_Renderer *renderer = __real_SDL_CreateRenderer(window, index, flags);
    yieldNow();
    return renderer;
}
