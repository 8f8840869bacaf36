// The floors of the start-up figure: plain SDL and SDL_image, no game code,
// each ended by its present (probe.cpp).
//   zorvane_floor        bare: the game's set-up (video, PNG, a 1280×720
//                        window, an accelerated renderer) and a white present
//   zorvane_floor same   same work: also what the game does before its first
//                        present, every picture decoded into a texture and
//                        the welcome picture drawn centred
#include "sameWork.h"

int main(int argc, char *[])
{
    SDL_Init(SDL_INIT_VIDEO);
    IMG_Init(IMG_INIT_PNG);
    SDL_Renderer *renderer = SDL_CreateRenderer(
        SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED,
                         SDL_WINDOWPOS_CENTERED, 1280, 720, 0),
        -1, SDL_RENDERER_ACCELERATED);
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
    if (argc > 1) {
        SDL_Texture *welcome = loadPictures(renderer, picturePaths())[2];
        int w, h;
        SDL_QueryTexture(welcome, nullptr, nullptr, &w, &h);
        SDL_Rect target = {640 - w / 2, 360 - h / 2, w, h};
        SDL_RenderCopy(renderer, welcome, nullptr, &target);
    }
    SDL_RenderPresent(renderer); // which ends the process
}
