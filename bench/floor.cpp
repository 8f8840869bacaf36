// The floor the game is measured against: the game's SDL and SDL_image
// set-up (video, PNG, a 1280 × 720 window, an accelerated renderer, white)
// and one clear and present, with no pictures.
//   zorvane_floor start   reports the time of the present and exits at once
//   zorvane_floor idle    prints "ready" after the present, then waits for
//                         events the way the game does until it is told to
//                         quit (a close request, SIGTERM or Escape)
#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <cstring>

#include "presented.h"

int main(int argc, char *argv[])
{
    bool idle = argc > 1 && strcmp(argv[1], "idle") == 0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
        (IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0)
        return 1;
    SDL_Window *window =
        SDL_CreateWindow("Zorvane floor", SDL_WINDOWPOS_CENTERED,
                         SDL_WINDOWPOS_CENTERED, 1280, 720, 0);
    if (window == NULL)
        return 1;
    SDL_Renderer *renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (renderer == NULL)
        return 1;
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    if (!idle)
        reportPresentedAndExit(window);

    waitForDisplay(window);
    printf("ready\n");
    fflush(stdout);
    SDL_Event event;
    while (SDL_WaitEvent(&event))
        if (event.type == SDL_QUIT ||
            (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
            break;
    SDL_Quit();
    return 0;
}
