// The browser build's SDL_WaitEvent, put in place of SDL's by the linker
// (-Wl,--wrap=SDL_WaitEvent; see docs/WEB.md). SDL's own wait polls in the
// browser: it sleeps a millisecond at a time, each sleep a timer round trip,
// some 250 a second while nothing happens. This one sleeps on a promise that
// an event watch resolves, so an idle page runs nothing at all.
//
// SDL calls event watches only for the events its event filter keeps, just
// before it queues them, from the browser's handler of the input. Resolving
// the promise there resumes the program once that handler has returned, so
// the event is in the queue by then.
#include <SDL.h>
#include <emscripten.h>

// ASYNCIFY suspends the program here and gives the browser back its thread
// until the promise is resolved.
EM_ASYNC_JS(void, sleepUntilEvent, (), {
    await new Promise(function(resolve) { Module.resumeOnEvent = resolve; });
});

EM_JS(void, wakeSleeper, (), {
    const wake = Module.resumeOnEvent;
    Module.resumeOnEvent = null;
    if (wake)
        wake();
});

// The program's first wait is on its welcome picture, once every picture is
// loaded: the page then takes its loading panel away. The page names the
// hook, so its name is quoted, as the script's minifier renames the rest.
EM_JS(void, tellPageWaiting, (), {
    if (Module['onFirstWait'])
        Module['onFirstWait']();
});

static int SDLCALL wakeOnEvent(void *userdata, SDL_Event *event)
{
    (void)userdata;
    (void)event;
    wakeSleeper();
    return 0;
}

// SDL's contract: 1 with the next event taken from the queue, or with a NULL
// event 1 once one is queued, left there; 0 if the event system is shut
// down. The watch is added on the first call, which tells the page, and kept:
// SDL drops it only in SDL_Quit, after which the game never waits again. The
// browser runs no handler between the look at the queue and the sleep, so every
// event either finds the program asleep and wakes it, or finds it busy and is
// found in the queue by the next look.
int __wrap_SDL_WaitEvent(SDL_Event *event)
{
    static SDL_bool watching;
    if (!watching) {
        SDL_AddEventWatch(wakeOnEvent, NULL);
        watching = SDL_TRUE;
        tellPageWaiting();
    }
    for (;;) {
        SDL_PumpEvents();
        int found = SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_FIRSTEVENT,
                                   SDL_LASTEVENT);
        if (found != 0)
            return found > 0;
        sleepUntilEvent();
    }
}
