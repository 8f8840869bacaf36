// Helpers shared by the in-process tests: made picture sets, a numbered
// catalogue without pictures, events, pixels read back, and a piece of the
// game run in a child process to see how it ends.
#pragma once

#include <functional>
#include <string>

#include "zorvane.h"

// Enters a fresh temporary directory holding a whole set under resources/,
// made by the end-to-end driver (e2e.py) with signs signWidth × signHeight,
// and chooses the dummy video driver with the software renderer.
std::string enterPictureSet(int signWidth, int signHeight);
void leavePictureSet(const std::string &dir);

// Numbers the catalogue as loading does, without pictures: groups in order,
// consecutive sign numbers, each sign's size from `size`.
void numberCatalogue(const std::function<SDL_Rect()> &size);
// Fills every row with the first nine signs of its label's group.
void sortBoard();

SDL_Event mouseEvent(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT);
SDL_Event keyEvent(SDL_Keycode sym);
// RGBA8888, as last drawn by the game's renderer.
Uint32 pixelAt(int x, int y);

struct ChildResult {
    int status;         // exit status, or -1 if the child did not exit normally
    std::string output; // everything it wrote to standard output
};

// Runs body in a forked child with standard output captured. A watchdog
// ends a child still running after 20 s with SIGALRM.
ChildResult runInChild(const std::function<void()> &body);
