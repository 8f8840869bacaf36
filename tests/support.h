// Helpers shared by the tests: small picture sets written to a temporary
// directory, and running a piece of the game in a child process to see how
// it ends.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "zorvane.h"

// The colour of sign picture k (1-based) of group g in a generated set, and
// of the screen pictures: distinct, opaque, and never white.
SDL_Color signColour(int group, int k);
extern const SDL_Color WELCOME_COLOUR, FELICITATION_COLOUR;
SDL_Color labelColour(int group);
bool operator==(SDL_Color a, SDL_Color b);
std::ostream &operator<<(std::ostream &out, SDL_Color c);

// Writes a complete picture set under dir/resources: every sign picture
// signWidth × signHeight in its own solid colour, a 600 × 300 welcome and
// congratulation picture, and a 300 × 180 label strip with one colour a band.
void writePictureSet(const std::string &dir, int signWidth, int signHeight);
void writePicture(const std::string &path, int width, int height,
                  SDL_Color colour);
std::string signPath(const std::string &dir, int group, int k);

// The dummy video driver with the software renderer: SDL without a display.
void useHeadlessVideo();

// A fresh empty directory under the system's temporary directory.
std::string makeTempDir();

struct ChildResult {
    int status;         // exit status, or -1 if the child did not exit normally
    std::string output; // everything it wrote to standard output
};

// Runs body in a forked child with standard output captured.
ChildResult runInChild(const std::function<void()> &body);
