// Loading as any SDL program would do it: the floor of the game's loading,
// in the start-up floor and in the in-process one.
#pragma once

#include <SDL_image.h>
#include <glob.h>
#include <string>
#include <vector>

// Every picture the game loads: the screen pictures first, in name order
// (felicitation, namesGroup, welcome), then the signs.
inline std::vector<std::string> picturePaths()
{
    glob_t found;
    glob("resources/*.png", 0, nullptr, &found);
    glob("resources/sings/*/*.png", GLOB_APPEND, nullptr, &found);
    std::vector<std::string> paths(found.gl_pathv,
                                   found.gl_pathv + found.gl_pathc);
    globfree(&found);
    return paths;
}

// Each picture decoded, one at a time, into a texture of the renderer, or
// with no renderer decoded alone.
inline std::vector<SDL_Texture *>
loadPictures(SDL_Renderer *renderer, const std::vector<std::string> &paths)
{
    std::vector<SDL_Texture *> textures;
    for (const std::string &path : paths) {
        SDL_Surface *picture = IMG_Load(path.c_str());
        if (renderer)
            textures.push_back(SDL_CreateTextureFromSurface(renderer, picture));
        SDL_FreeSurface(picture);
    }
    return textures;
}
