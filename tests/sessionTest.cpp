// How a run ends. Each case runs the game's own code in a child process and
// checks its exit status and everything written to standard output; a
// watchdog ends a hung child with SIGALRM, which fails the case.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "support.h"

namespace {

class Session : public ::testing::Test {
  protected:
    void SetUp() override { dir = enterPictureSet(100, 100); }
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
// waits through motion and a release for a key or a press, then ends the run
// with 0; its centre pixel, read as the process ends, shows it was drawn.
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
                    push(event);
                }).detach();
                if (screen == WELCOME)
                    startGame();
                testGameField();
                sortBoard();
                if (e >= 2) // a quit ends SDL before the exit handlers
                    atexit([] {
                        const SDL_Color c = pixelAt(640, 360);
                        printf("[centre %d,%d,%d]", c.r, c.g, c.b);
                    });
                testGameField();
            });
            const bool quits = e < 2; // FELICITATION_COLOUR otherwise
            EXPECT_EQ(result.status, quits ? 100 : 0) << screen << "," << e;
            EXPECT_EQ(result.output, quits ? "" : "[centre 200,160,0]");
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

// The game's start-up to the end of loading, then status 42.
ChildResult load()
{
    return runInChild([] {
        initializationGrafic();
        initializationTexteres();
        exit(42);
    });
}

// Each of the set's pictures missing in turn ends loading with 2, naming it.
// The congratulation picture, loaded last, is missing throughout: an earlier
// failure ends loading before it is tried.
TEST_F(Session, EachMissingPictureEndsLoadingWith2AndIsNamed)
{
    std::vector<std::string> pictures;
    for (const auto &entry :
         std::filesystem::recursive_directory_iterator("resources"))
        if (entry.is_regular_file())
            pictures.push_back(entry.path());
    ASSERT_EQ(pictures.size(), 107u);
    std::filesystem::remove("resources/felicitation.png");
    for (const std::string &path : pictures) {
        std::error_code absent; // the congratulation picture
        std::filesystem::rename(path, "away.png", absent);
        const ChildResult result = load();
        std::filesystem::rename("away.png", path, absent);
        EXPECT_EQ(result.status, 2) << path;
        EXPECT_EQ(result.output, "IMG_Load Error: Couldn't open " + path);
    }
}

// A picture that is empty, cut short, or a directory: 2 with the decoder's
// reason.
TEST_F(Session, UnreadablePictureEndsLoadingWith2AndTheDecodersReason)
{
    const std::string path = "resources/namesGroup.png";
    std::ifstream in(path, std::ios::binary);
    const std::string png(std::istreambuf_iterator<char>(in), {});
    const struct {
        std::string bytes;
        const char *reason;
    } damages[] = {{"", "Unsupported image format"},
                   {png.substr(0, 60), "Corrupt PNG"},
                   {"(directory)", "Unsupported image format"}};
    for (const auto &d : damages) {
        std::filesystem::remove_all(path);
        if (d.bytes == "(directory)")
            std::filesystem::create_directory(path);
        else
            std::ofstream(path, std::ios::binary) << d.bytes;
        const ChildResult result = load();
        EXPECT_EQ(result.status, 2) << d.reason;
        EXPECT_EQ(result.output, std::string("IMG_Load Error: ") + d.reason);
    }
}

} // namespace
