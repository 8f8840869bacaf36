// The browser build's exit(), put in place of the C library's by the linker
// (-Wl,--wrap=exit; see docs/WEB.md). Escape ends the program inside the
// browser's key handler while the play loop sleeps in SDL_WaitEvent, and
// that pending sleep keeps Emscripten's runtime alive: a plain exit() would
// neither end the runtime nor keep the loop from waking on a shut-down SDL.
// A forced exit ends the runtime whatever is pending, so the sleep never
// wakes; it also runs the exit handlers, which print what stdout still holds,
// and tells the page the status.
#include <emscripten.h>

_Noreturn void __wrap_exit(int status)
{
    emscripten_force_exit(status);
    __builtin_unreachable();
}
