// How a run ends: each case runs the game's own code in a child process, as
// a death test, from the repository's top, and checks its exit status and
// everything it writes to standard output; a watchdog ends a hung child with
// SIGALRM, which fails the case. Then the shipped pictures, loaded.
#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

#include "zorvane.h"

namespace {

// The child's standard output goes where the death test reads standard
// error, and its standard error (the libraries' warnings) nowhere; it runs
// on the dummy video driver with the software renderer.
void expectRunEnds(const std::function<void()> &run, int status,
                   const std::string &output)
{
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            (void)!freopen("/dev/null", "w", stderr);
            alarm(20);
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            setenv("SDL_RENDER_DRIVER", "software", 1);
            run();
        },
        testing::ExitedWithCode(status), "^" + output + "$");
}

// Without a display, with SDL's driver variable set but empty, with an
// unknown driver, and on a driver without an accelerated renderer: 1 and
// SDL's reason. With no display SDL would fall back to its offscreen
// driver, where the game would wait unseen for ever.
TEST(Session, SetUpFailuresEndWith1)
{
    const char *const noDisplay = "SDL_Init Error: No available video device";
    const struct {
        const char *driver, *output;
    } cases[] = {
        {NULL, noDisplay},
        {"", noDisplay},
        {"nosuchdriver", "SDL_Init Error: nosuchdriver not available"},
        {"dummy",
         "SDL_CreateRenderer Error: Couldn't find matching render driver"}};
    for (const auto &c : cases)
        expectRunEnds(
            [&] {
                for (const char *name :
                     {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER",
                      "SDL_RENDER_DRIVER"})
                    unsetenv(name);
                if (c.driver)
                    setenv("SDL_VIDEODRIVER", c.driver, 1);
                initializationGrafic();
            },
            1, c.output);
}

// With nothing loaded, every sign and every row's label are of group 0: one
// sign of group 1 unsorts the board, and the win test returns. Sorted, it
// brings up the congratulation, which takes a motion and a release and ends
// the run with 0 at the key or press queued after them, leaving the key
// queued last.
TEST(Session, CongratulationWaitsForAKeyOrAPress)
{
    for (Uint32 end : {SDL_KEYDOWN, SDL_MOUSEBUTTONDOWN})
        expectRunEnds(
            [end] {
                initializationGrafic();
                initializationEventFilter();
                GUI.signs[1].group = 1;
                gameField[1][4] = 1;
                testGameField();
                gameField[1][4] = 0;
                SDL_Event events[] = {{SDL_MOUSEMOTION},
                                      {SDL_MOUSEBUTTONUP},
                                      {end},
                                      {SDL_KEYDOWN}};
                for (SDL_Event &event : events)
                    SDL_PushEvent(&event);
                atexit([] {
                    printf("%d left",
                           SDL_PeepEvents(NULL, 0, SDL_PEEKEVENT,
                                          SDL_FIRSTEVENT, SDL_LASTEVENT));
                });
                testGameField();
            },
            0, "1 left");
}

// The shipped set, in this process: it loads whole; directory d holds group
// d - 1, numbered on from the previous group, and the table's columns past a
// group's count stay 0. Each sign is small enough for a board cell, the label
// strip six bands high, and the screen pictures inside the window. Last, as
// the death tests above should not inherit a started SDL.
TEST(Session, ShippedPicturesLoadGroupByGroupAndFit)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    initializationGrafic();
    initializationTexteres();
    const int counts[GROUPS] = {30, 9, 17, 15, 14, 19};
    for (int g = 0, sign = 0; g < GROUPS; g++)
        for (int k = 1; k <= GROUP_CAPACITY; k++) {
            EXPECT_EQ(signNumberTransfer[g][k], k <= counts[g] ? ++sign : 0)
                << g << "," << k;
            EXPECT_EQ(GUI.signs[sign].group, g) << sign;
        }
    for (const SignPicture &sign : GUI.signs)
        EXPECT_TRUE(sign.rect.w <= 136 && sign.rect.h <= 150);
    for (const ScreenPicture &screen : {GUI.welcome, GUI.felicitation})
        EXPECT_TRUE(screen.rect.w <= WINDOW_WIDTH &&
                    screen.rect.h <= WINDOW_HEIGHT);
    EXPECT_EQ(GUI.namesGroup.rect.h, LABEL_HEIGHT * GROUPS);
}

} // namespace
