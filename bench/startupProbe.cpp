// Linked into the game's own main() with -Wl,--wrap=SDL_RenderPresent: the
// game runs its start sequence unchanged, and its first present, the welcome
// picture, reports the time and ends the process.
#include "presented.h"
#include "zorvane.h"

extern "C" void __real_SDL_RenderPresent(SDL_Renderer *renderer);

extern "C" void __wrap_SDL_RenderPresent(SDL_Renderer *renderer)
{
    __real_SDL_RenderPresent(renderer);
    reportPresentedAndExit(win);
}
