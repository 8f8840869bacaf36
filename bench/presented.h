// What the benchmark programs share: the monotonic clock, and "presented"
// made precise for a window on an X display.
#pragma once

#include <SDL.h>

// CLOCK_MONOTONIC in nanoseconds; the same clock in every process.
long long monotonicNs();

// Waits until the X server has handled every request sent so far, so a frame
// just presented has reached the screen rather than a socket buffer.
void waitForDisplay(SDL_Window *window);

// After a present: waits for the display, writes the time to standard output
// as one line of nanoseconds, and ends the process on the spot (with exit()
// rather than _exit() where ZORVANE_BENCH_NORMAL_EXIT is set).
[[noreturn]] void reportPresentedAndExit(SDL_Window *window);
