// How a run ends: each case starts the game's own code in a child process
// and checks the exit status and everything written to standard output.
#include <gtest/gtest.h>

#include <SDL_image.h>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "support.h"

namespace {

class Exits : public ::testing::Test {
  protected:
    void SetUp() override
    {
        useHeadlessVideo();
        writePictureSet(dir, 100, 100);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string dir = makeTempDir();
};

void startUp()
{
    initializationGrafic();
    initializationEventFilter();
    initializationRandomaizer();
    initializationTexteres();
    FillGameField();
}

void pushKey(SDL_Keycode key)
{
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

void pushMouse(Uint32 type, int x, int y)
{
    SDL_Event event = {};
    event.type = type;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
}

TEST_F(Exits, CloseRequestOrEscapeQuitsWith100FromAnyScreen)
{
    auto quit = [] {
        SDL_Event event = {};
        event.type = SDL_QUIT;
        SDL_PushEvent(&event);
    };
    auto escape = [] { pushKey(SDLK_ESCAPE); };
    for (auto request :
         {std::function<void()>(quit), std::function<void()>(escape)}) {
        // While the pictures load, seen as soon as the event is queued.
        ChildResult loading = runInChild([&] {
            initializationGrafic();
            initializationEventFilter();
            request();
        });
        EXPECT_EQ(loading.status, 100);
        EXPECT_EQ(loading.output, "");

        // While carrying a picture: nothing is put back, the run just ends.
        ChildResult carrying = runInChild([&] {
            startUp();
            ASSERT_EQ(takeSingOnGameField(rowsWidth[0], rowsHeights[0]), 1);
            request();
        });
        EXPECT_EQ(carrying.status, 100);
        EXPECT_EQ(carrying.output, "");
    }
}

void sortBoard();

// The congratulation screen waits through motion and releases for a key or
// a press. What it showed is read back just before the process ends.
TEST_F(Exits, SortedBoardEndsWith0AfterTheCongratulationPicture)
{
    for (Uint32 ending : {Uint32(SDL_KEYDOWN), Uint32(SDL_MOUSEBUTTONDOWN)}) {
        ChildResult won = runInChild([&] {
            startUp();
            sortBoard();
            atexit([] {
                Uint32 centre = 0;
                SDL_Rect one = {640, 360, 1, 1};
                SDL_RenderReadPixels(ren, &one, SDL_PIXELFORMAT_RGBA32, &centre,
                                     4);
                SDL_Color c;
                memcpy(&c, &centre, 4);
                printf("[centre %d,%d,%d]", c.r, c.g, c.b);
            });
            pushMouse(SDL_MOUSEMOTION, 10, 10);
            pushMouse(SDL_MOUSEBUTTONUP, 10, 10);
            if (ending == SDL_KEYDOWN)
                pushKey(SDLK_RETURN);
            else
                pushMouse(SDL_MOUSEBUTTONDOWN, 10, 10);
            testGameField();
        });
        EXPECT_EQ(won.status, 0);
        EXPECT_EQ(won.output,
                  "[centre 200,160,0]"); // FELICITATION_COLOUR, nothing printed
    }
}

void sortBoard()
{
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            gameField[r][c] = signNumberTransfer[category[r]][c + 1];
}

TEST_F(Exits, UnsortedBoardReturnsFromTheWinTest)
{
    ChildResult result = runInChild([] {
        startUp();
        sortBoard();
        std::swap(gameField[0][0], gameField[2][8]);
        testGameField();
        exit(42);
    });
    EXPECT_EQ(result.status, 42);
    EXPECT_EQ(result.output, "");
}

TEST_F(Exits, MissingPictureEndsWith2BeforeAnythingLater)
{
    // Sign (5) of directory 2 is missing, and so are all screen pictures: the
    // load stops at the first, with SDL's reason.
    std::filesystem::remove(signPath(dir, 1, 5));
    std::filesystem::remove(dir + "/resources/welcome.png");
    ChildResult result = runInChild([] {
        startUp();
        exit(42);
    });
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.output,
              "IMG_Load Error: Couldn't open resources/sings/2/(5).png");
}

TEST_F(Exits, UnreadablePicturesEndWith2)
{
    const std::string felicitation = dir + "/resources/felicitation.png";
    const std::string label = dir + "/resources/namesGroup.png";
    struct {
        std::function<void()> damage;
        std::string output;
    } cases[] = {
        {[&] { std::filesystem::remove(felicitation); },
         "IMG_Load Error: Couldn't open resources/felicitation.png"},
        {[&] {
             FILE *f = fopen(label.c_str(), "w");
             fputs("not a picture", f);
             fclose(f);
         },
         "IMG_Load Error: Unsupported image format"},
    };
    for (auto &c : cases) {
        c.damage();
        ChildResult result = runInChild([] {
            startUp();
            exit(42);
        });
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.output, c.output);
    }
}

TEST_F(Exits, SetUpFailuresEndWith1AndSaySoOnStandardOutput)
{
    ChildResult noDriver = runInChild([] {
        setenv("SDL_VIDEODRIVER", "nosuchdriver", 1);
        initializationGrafic();
        exit(42);
    });
    EXPECT_EQ(noDriver.status, 1);
    EXPECT_EQ(noDriver.output, "SDL_Init Error: nosuchdriver not available");

    // The dummy driver has no accelerated renderer.
    ChildResult noRenderer = runInChild([] {
        unsetenv("SDL_RENDER_DRIVER");
        initializationGrafic();
        exit(42);
    });
    EXPECT_EQ(noRenderer.status, 1);
    EXPECT_EQ(noRenderer.output,
              "SDL_CreateRenderer Error: Couldn't find matching render driver");
}

} // namespace
