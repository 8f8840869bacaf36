// How a run ends. Each case runs the game's own code in a child process and
// checks its exit status and everything written to standard output; a
// watchdog ends a hung child with SIGALRM, which fails the case.
#include <gtest/gtest.h>

#include <thread>

#include "support.h"

namespace {

class Session : public ::testing::Test {
  protected:
    void SetUp() override { dir = enterPictureSet(100, 50); }
    void TearDown() override { leavePictureSet(dir); }

    std::string dir;
};

void push(SDL_Event event)
{
    SDL_PushEvent(&event);
}

// A close request or Escape ends the run with 100, printing nothing, on
// every screen: while loading and while carrying, where the filter acts as
// the event is queued, and on the welcome and congratulation screens, which
// wait in the game's own loops while another thread sends it. Once the board
// is sorted (an unsorted one returns from the win test), the congratulation
// waits through motion and a release, which end nothing, for a key or a
// press, then ends the run with 0; its centre pixel, read as the process
// ends, shows it was drawn.
TEST_F(Session, EveryScreenEndsTheRunAsItShould)
{
    enum { LOADING, CARRYING, WELCOME, CONGRATULATION };
    const SDL_Event events[] = {{SDL_QUIT},
                                keyEvent(SDLK_ESCAPE),
                                keyEvent(SDLK_RETURN),
                                mouseEvent(SDL_MOUSEBUTTONDOWN, 10, 10)};
    for (int screen = LOADING; screen <= CONGRATULATION; screen++)
        for (int e = 0; e < (screen == CONGRATULATION ? 4 : 2); e++) {
            const SDL_Event event = events[e];
            const ChildResult result = runInChild([&] {
                initializationGrafic();
                initializationEventFilter();
                if (screen == LOADING)
                    push(event);
                initializationTexteres();
                srand(5);
                FillGameField();
                if (screen == CARRYING && takeSingOnGameField(71, 120))
                    push(event);
                if (screen < WELCOME)
                    exit(42);
                std::thread([event] {
                    SDL_Delay(300); // the screen is up and waiting by then
                    push(mouseEvent(SDL_MOUSEMOTION, 10, 10));
                    push(mouseEvent(SDL_MOUSEBUTTONUP, 10, 10));
                    SDL_Delay(300); // both handled, and the run goes on
                    printf("[waited]");
                    fflush(stdout);
                    push(event);
                }).detach();
                if (screen == WELCOME)
                    startGame();
                testGameField();
                sortBoard();
                if (e >= 2) // a quit ends SDL before the exit handlers
                    atexit([] { printf("[centre %08x]", pixelAt(640, 360)); });
                testGameField();
            });
            const bool quits = e < 2; // FELICITATION_COLOUR otherwise
            EXPECT_EQ(result.status, quits ? 100 : 0) << screen << "," << e;
            EXPECT_EQ(result.output,
                      std::string(screen < WELCOME ? "" : "[waited]") +
                          (quits ? "" : "[centre c8a000ff]"));
        }
}

// Without a display, with SDL's driver variable set but empty, with an
// unknown driver, and on a driver without an accelerated renderer: 1 and
// SDL's reason. With no display SDL would fall back to its offscreen
// driver, where the game would wait unseen for ever.
TEST_F(Session, SetUpFailuresEndWith1)
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
    for (const auto &c : cases) {
        const ChildResult result = runInChild([&] {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_RENDER_DRIVER");
            if (c.driver)
                setenv("SDL_VIDEODRIVER", c.driver, 1);
            else
                unsetenv("SDL_VIDEODRIVER");
            initializationGrafic();
            exit(42);
        });
        EXPECT_EQ(result.status, 1) << c.output;
        EXPECT_EQ(result.output, c.output);
    }
}

// Directory d holds group d - 1, numbered on from the previous group, each
// sign with its picture's size; the table's columns past a group's count
// stay 0.
TEST_F(Session, LoadingNumbersSignsGroupByGroup)
{
    const ChildResult result = runInChild([] {
        initializationGrafic();
        initializationTexteres();
        const int firstSign[GROUPS + 1] = {1, 31, 40, 57, 72, 86, 105};
        for (int g = 0; g < GROUPS; g++)
            for (int k = 1, sign = firstSign[g]; k <= GROUP_CAPACITY;
                 k++, sign++)
                if (sign < firstSign[g + 1]
                        ? signNumberTransfer[g][k] != sign ||
                              GUI.signs[sign].group != g ||
                              GUI.signs[sign].rect.w != 100 ||
                              GUI.signs[sign].rect.h != 50
                        : signNumberTransfer[g][k] != 0)
                    printf("[group %d, picture %d]", g, k);
        printf("[%d %d %d]", GUI.welcome.rect.w, GUI.namesGroup.rect.h,
               GUI.felicitation.rect.h);
        exit(42);
    });
    EXPECT_EQ(result.status, 42);
    EXPECT_EQ(result.output, "[600 180 300]");
}

// The shipped set (run from the repository root) loads whole, each sign
// small enough for a board cell, the label strip six bands high, and the
// screen pictures inside the window.
TEST(ShippedPictures, LoadWholeAndFit)
{
    const ChildResult result = runInChild([] {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        initializationGrafic();
        initializationTexteres();
        for (const SignPicture &sign : GUI.signs)
            if (sign.rect.w > 136 || sign.rect.h > 150)
                printf("[a sign of %d x %d]", sign.rect.w, sign.rect.h);
        for (const ScreenPicture &screen : {GUI.welcome, GUI.felicitation})
            if (screen.rect.w > WINDOW_WIDTH || screen.rect.h > WINDOW_HEIGHT)
                printf("[a screen of %d x %d]", screen.rect.w, screen.rect.h);
        exit(GUI.namesGroup.rect.h == LABEL_HEIGHT * GROUPS ? 42 : 3);
    });
    EXPECT_EQ(result.status, 42);
    EXPECT_EQ(result.output, "");
}

} // namespace
