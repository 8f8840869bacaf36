// How a run ends. Each case runs the game's own code in a child process and
// checks its exit status and everything written to standard output; a
// watchdog ends a hung child with SIGALRM, which fails the case. Quitting on
// every screen, winning, set-up failures, damaged picture sets, and a long
// session through the play loop whose memory must stay flat.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <thread>

#include "support.h"

#ifdef __SANITIZE_ADDRESS__
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

class Session : public ::testing::Test {
  protected:
    void SetUp() override { dir = enterPictureSet(100, 100); }
    void TearDown() override { leavePictureSet(dir); }

    std::string dir;
};

void startUp()
{
    initializationGrafic();
    initializationEventFilter();
    initializationTexteres();
    srand(5);
    FillGameField();
}

// Queues an event as a player's would arrive, from another thread (the
// event filter then runs there), keeping SDL's queue of 65535 short.
void waitForQueue(int atMost)
{
    while (SDL_PeepEvents(NULL, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT,
                          SDL_LASTEVENT) > atMost)
        SDL_Delay(1);
}

void push(SDL_Event event)
{
    waitForQueue(500);
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

// Damaged picture sets.

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const std::string DIRECTORY = "(a directory in place of the picture)";

void writeFile(const std::string &path, const std::string &bytes)
{
    std::filesystem::remove_all(path);
    if (bytes == DIRECTORY)
        std::filesystem::create_directory(path);
    else
        std::ofstream(path, std::ios::binary) << bytes;
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

void putBigEndian(std::string &bytes, size_t at, Uint32 value)
{
    for (int i = 0; i < 4; i++)
        bytes[at + i] = char(value >> (24 - 8 * i));
}

// The PNG with its header rewritten to claim another size and format, the
// header's checksum fixed so that only the claim is wrong.
std::string withHeader(std::string png, Uint32 width, Uint32 height, int depth,
                       int colourType)
{
    putBigEndian(png, 16, width);
    putBigEndian(png, 20, height);
    png[24] = char(depth);
    png[25] = char(colourType);
    putBigEndian(png, 29, SDL_crc32(0, &png[12], 17));
    return png;
}

// At the first sign, the last sign and the label strip: 2 with the decoder's
// reason. Absurd sizes are refused before anything is allocated.
TEST_F(Session, UnreadablePicturesEndLoadingWith2AndTheDecodersReason)
{
    const std::string png = readFile("resources/welcome.png");
    const struct {
        std::string bytes;
        const char *reason;
    } damages[] = {
        {"", "Unsupported image format"},
        {"just some text\n", "Unsupported image format"},
        {DIRECTORY, "Unsupported image format"},
        {withHeader(png, 60000, 60000, 8, 6), "Image too large to decode"},
        {withHeader(png, 30000, 30000, 8, 2), "Image too large to decode"},
        {withHeader(png, ~0u, ~0u, 8, 6), "Very large image (corrupt?)"},
        // Within the decoder's limit of 2^30 bytes; the data then runs out.
        {withHeader(png, 16384, 16384, 8, 0), "Corrupt PNG"},
        {withHeader(png, 0, 0, 8, 6), "Corrupt PNG"},
        {withHeader(png, 600, 300, 3, 6),
         "PNG not supported: 1/2/4/8/16-bit only"}};
    for (const std::string &target :
         {signPath(0, 1), signPath(5, 19),
          std::string("resources/namesGroup.png")}) {
        const std::string good = readFile(target);
        for (const auto &d : damages) {
            writeFile(target, d.bytes);
            const ChildResult result = load();
            EXPECT_EQ(result.status, 2) << target << ": " << d.reason;
            EXPECT_EQ(result.output, std::string("IMG_Load Error: ") + d.reason)
                << target;
        }
        writeFile(target, good);
    }
}

// A sign cut at every length from 8 bytes ends loading with 2; the decoder
// never reads the end marker's checksum, so the last 4 cuts load, all the
// pixels being there.
TEST_F(Session, PictureCutAtEveryLengthEndsLoadingWith2)
{
    const std::string path = signPath(0, 1), png = readFile(path);
    for (size_t length = 8; length < png.size(); length++) {
        writeFile(path, png.substr(0, length));
        const ChildResult result = load();
        const bool loads = length >= png.size() - 4;
        ASSERT_EQ(result.status, loads ? 42 : 2) << length << " bytes";
        EXPECT_TRUE(loads || result.output.rfind("IMG_Load Error: ", 0) == 0)
            << length << " bytes: " << result.output;
    }
}

// Signs of 1 × 1 and of 400 × 600 (larger than a cell), screens of 1 × 1,
// and a label strip 40 pixels high instead of 180, so that one row's band is
// cut short and the others lie past its end: the game still loads, deals,
// draws and plays. A 1 × 1 picture has no inside to press, but a picture
// dropped on it exchanges with it.
TEST_F(Session, ExtremePictureSizesAndAShortLabelStripStillPlay)
{
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++)
            writePicture(signPath(g, k), k % 2 ? 1 : 400, k % 2 ? 1 : 600,
                         signColour(g, k));
    writePicture("resources/welcome.png", 1, 1, WELCOME_COLOUR);
    writePicture("resources/felicitation.png", 1, 1, FELICITATION_COLOUR);
    writeLabelStrip("resources/namesGroup.png", 40);
    const ChildResult result = runInChild([] {
        startUp();
        const int tiny = signNumberTransfer[category[0]][1];
        const int big = signNumberTransfer[category[1]][2];
        gameField[0][0] = tiny;
        gameField[1][1] = big;
        bool dragging = false, dropped = false;
        for (const SDL_Event event : {mouseEvent(SDL_MOUSEBUTTONDOWN, 71, 120),
                                      mouseEvent(SDL_MOUSEBUTTONDOWN, 213, 360),
                                      mouseEvent(SDL_MOUSEMOTION, 71, 120),
                                      mouseEvent(SDL_MOUSEBUTTONUP, 71, 120)}) {
            renderingGameField();
            dropped = dragAndDrop(&event, &dragging, NULL, NULL);
        }
        renderingGameField();
        testGameField();
        const bool exchanged =
            gameField[0][0] == big && gameField[1][1] == tiny;
        exit(dropped && exchanged ? 0 : 3);
    });
    EXPECT_EQ(result.status, 0) << result.output;
}

// Heap in use by the process, in bytes, and its peak resident size in kB.
size_t heapInUse()
{
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

size_t peakResident()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return size_t(usage.ru_maxrss);
}

// The player of a long session, on a thread of its own: Space, then drags
// with any button that end on a cell of the same row (which never sorts the
// board by accident) or outside the window (which puts back), with motion
// and keys between; then it drags every picture into its row, which wins,
// and ends the congratulation with a key. It plays on its own copy of the
// board. Memory is read after a tenth of the events and at the end.
void player(long events)
{
    std::mt19937 rng(5);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    int board[ROWS][COLUMNS];
    memcpy(board, gameField, sizeof board);
    long sent = 0;
    auto send = [&](const SDL_Event &event) {
        push(event);
        sent++;
    };
    auto at = [](Uint32 type, int r, int c, int dx = 0, int dy = 0) {
        return mouseEvent(type, rowsWidth[c] + dx, rowsHeights[r] + dy);
    };
    send(keyEvent(SDLK_SPACE));
    size_t heap[2], resident[2];
    for (int part = 0; part < 2; part++) {
        while (sent < (part == 0 ? events / 10 : events)) {
            const int r = pick(ROWS), c = pick(COLUMNS), c2 = pick(COLUMNS);
            SDL_Event press = at(SDL_MOUSEBUTTONDOWN, r, c, 40, -40);
            press.button.button = Uint8(1 + pick(5));
            send(press);
            send(mouseEvent(SDL_MOUSEMOTION, pick(6001) - 3000, pick(720)));
            send(keyEvent(SDLK_a + pick(26)));
            if (pick(4) == 0) {
                send(mouseEvent(SDL_MOUSEBUTTONUP, 1279, pick(3000)));
                continue;
            }
            send(at(SDL_MOUSEBUTTONUP, r, c2, -60, 100));
            std::swap(board[r][c], board[r][c2]);
        }
        waitForQueue(0);
        SDL_Delay(100); // the last event handled and drawn
        heap[part] = heapInUse();
        resident[part] = peakResident();
    }
    printf("heap %zu -> %zu B, resident %zu -> %zu kB", heap[0], heap[1],
           resident[0], resident[1]);
    fflush(stdout);
    auto group = [&](int r, int c) { return GUI.signs[board[r][c]].group; };
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            while (group(r, c) != category[r]) {
                int to = 0; // a misplaced picture in a row of the wanted group
                while (category[to / COLUMNS] != group(r, c) ||
                       group(to / COLUMNS, to % COLUMNS) == group(r, c))
                    to++;
                send(at(SDL_MOUSEBUTTONDOWN, r, c));
                send(at(SDL_MOUSEBUTTONUP, to / COLUMNS, to % COLUMNS));
                std::swap(board[r][c], board[to / COLUMNS][to % COLUMNS]);
            }
    send(keyEvent(SDLK_RETURN));
}

// ZORVANE_SOAK_EVENTS sets the length (2 × 10^4 by default; tools/soak.sh
// runs longer).
TEST_F(Session, LongSessionEndsInAWinWithMemoryFlat)
{
    const char *setting = getenv("ZORVANE_SOAK_EVENTS");
    const long events = setting ? atol(setting) : 20000;
    const ChildResult result = runInChild(
        [&] {
            startUp();
            std::thread(player, events).detach();
            startGame();
        },
        600);
    ASSERT_EQ(result.status, 0) << result.output;
    printf("%ld events: %s\n", events, result.output.c_str());
    size_t heap[2], resident[2];
    ASSERT_EQ(sscanf(result.output.c_str(),
                     "heap %zu -> %zu B, resident %zu -> %zu kB", &heap[0],
                     &heap[1], &resident[0], &resident[1]),
              4);
    EXPECT_LE(heap[1], heap[0] + 16 * 1024);
    EXPECT_LE(resident[1], resident[0] + 1024);
}

} // namespace
