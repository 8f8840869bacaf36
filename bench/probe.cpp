// Linked into the game and the floors with -Wl,--wrap=SDL_RenderPresent: the
// first present, once the X server has handled it, ends the process, so that
// its whole run lasts from exec to the first picture on the screen, which is
// what hyperfine times.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

extern "C" void __real_SDL_RenderPresent(SDL_Renderer *renderer);

extern "C" void __wrap_SDL_RenderPresent(SDL_Renderer *renderer)
{
    __real_SDL_RenderPresent(renderer);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(SDL_RenderGetWindow(renderer), &info))
        _exit(1); // no window: the run failed
    XSync(info.info.x11.display, False);
    _exit(0);
}
