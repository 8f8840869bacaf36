// Helpers shared by the in-process tests: made picture sets, a numbered
// catalogue without pictures, events, pixels read back, and a piece of the
// game run in a child process to see how it ends.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "zorvane.h"

// Made sets give sign k (1-based) of group g, every label band and each
// screen picture a colour of its own: distinct, opaque, never white.
SDL_Color signColour(int group, int k);
SDL_Color labelColour(int group);
extern const SDL_Color WHITE, WELCOME_COLOUR, FELICITATION_COLOUR;
bool operator==(SDL_Color a, SDL_Color b);
std::ostream &operator<<(std::ostream &out, SDL_Color c);

// resources/sings/<group + 1>/(<k>).png, as the game names it.
std::string signPath(int group, int k);
void writePicture(const std::string &path, int width, int height,
                  SDL_Color colour);

// Enters a fresh temporary directory holding a whole set under resources/
// (signs signWidth × signHeight, screens 600 × 300, a label strip 300 × 180)
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
SDL_Color pixelAt(int x, int y); // as last drawn by the game's renderer

struct ChildResult {
    int status;         // exit status, or -1 if the child did not exit normally
    std::string output; // everything it wrote to standard output
};

// Runs body in a forked child with standard output captured. A watchdog
// ends a child still running after 20 s with SIGALRM.
ChildResult runInChild(const std::function<void()> &body);
