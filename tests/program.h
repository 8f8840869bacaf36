// Running the built game itself, as a separate program, in a directory of
// the test's choosing, with a watchdog; and a virtual X display for it.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct ProgramResult {
    int status; // exit status, or -1 if killed (the watchdog among others)
    std::string output; // standard output
};

// Environment changes for the run: a null value unsets the variable.
using Environment = std::vector<std::pair<std::string, const char *>>;

// Runs the game (ZORVANE_PROGRAM) in dir; SIGALRM ends it after `seconds`.
ProgramResult runProgram(const std::string &dir, const Environment &environment,
                         int seconds = 20);

// The display name of an Xvfb server started on first use and stopped at
// exit, or an empty string if none could be started.
std::string virtualDisplay();
