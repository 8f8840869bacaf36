// Whole runs of the real play loop, startGame(), in a child process, with
// events pushed from a second thread as a player's would arrive (the event
// filter then runs on that thread): quitting on the welcome and
// congratulation screens, and a long session whose memory must stay flat.
// Also the start without any display.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <unistd.h>

#include <malloc.h>
#ifdef __SANITIZE_ADDRESS__
extern "C" size_t
__sanitizer_get_current_allocated_bytes(); // the allocator's own count
#endif

#include "program.h"
#include "support.h"

namespace {

class Session : public ::testing::Test {
  protected:
    void SetUp() override
    {
        useHeadlessVideo();
        writePictureSet(dir, 100, 100);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override
    {
        (void)!chdir("/");
        std::filesystem::remove_all(dir);
    }

    std::string dir = makeTempDir();
};

void startUp(unsigned seed)
{
    alarm(600); // a watchdog for the longest run; a hang fails the case
    initializationGrafic();
    initializationEventFilter();
    initializationTexteres();
    srand(seed);
    FillGameField();
}

// Keeps SDL's queue (65535 events at most) short, then pushes.
void push(const SDL_Event &event, int queueLimit = 500)
{
    while (SDL_PeepEvents(NULL, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT,
                          SDL_LASTEVENT) > queueLimit)
        SDL_Delay(1);
    SDL_Event copy = event;
    SDL_PushEvent(&copy);
}

SDL_Event key(SDL_Keycode sym)
{
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    return event;
}

SDL_Event mouse(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT)
{
    SDL_Event event = {};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
    } else {
        event.button.x = x;
        event.button.y = y;
        event.button.button = button;
    }
    return event;
}

void sortBoard()
{
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            gameField[r][c] = signNumberTransfer[category[r]][c + 1];
}

TEST_F(Session,
       CloseRequestOrEscapeOnTheWelcomeOrCongratulationScreenQuitsWith100)
{
    for (bool congratulation : {false, true})
        for (SDL_Event request : {SDL_Event{SDL_QUIT}, key(SDLK_ESCAPE)}) {
            ChildResult result = runInChild([&] {
                startUp(1);
                std::thread([request] {
                    SDL_Delay(300); // the screen is up and waiting by then
                    push(request);
                }).detach();
                if (congratulation) {
                    sortBoard();
                    testGameField();
                } else {
                    startGame();
                }
                exit(42);
            });
            EXPECT_EQ(result.status, 100)
                << congratulation << " " << request.type;
            EXPECT_EQ(result.output, "");
        }
}

// Without X11, Wayland or a chosen driver SDL falls back to its offscreen
// video driver, on which Mesa's EGL even gives an accelerated renderer: the
// game must not start there, unseen and unreachable, and wait forever.
TEST_F(Session, NoDisplayEndsWith1AtStartUp)
{
    const char *expected = "SDL_Init Error: No available video device";
    ChildResult inProcess = runInChild([] {
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY",
                                 "SDL_VIDEODRIVER", "SDL_RENDER_DRIVER"})
            unsetenv(name);
        initializationGrafic();
        exit(42);
    });
    EXPECT_EQ(inProcess.status, 1);
    EXPECT_EQ(inProcess.output, expected);

    ProgramResult program = runProgram(dir,
                                       {{"DISPLAY", NULL},
                                        {"WAYLAND_DISPLAY", NULL},
                                        {"SDL_VIDEODRIVER", NULL},
                                        {"SDL_RENDER_DRIVER", NULL}},
                                       10);
    EXPECT_EQ(program.status, 1);
    EXPECT_EQ(program.output, expected);
}

// Heap in use by the process, and its resident size, in bytes.
size_t heapInUse()
{
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

size_t residentSize()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return size_t(atol(line.c_str() + 6)) * 1024;
    return 0;
}

// The player's side of a long session. It keeps its own copy of the board:
// every event it sends has an outcome known without the game's help (presses
// on a picture's centre or a cell's blank corner, releases on a cell or
// outside the window, motion, keys), so it can sort the board at the end.
class Player {
  public:
    explicit Player(unsigned seed) : rng(seed)
    {
        memcpy(board, gameField, sizeof board);
        for (int s = 1; s <= SIGNS; s++)
            group[s] = GUI.signs[s].group;
        memcpy(rows, category, sizeof rows);
    }

    // Sends `events` events of play that never sort the board.
    void play(long events)
    {
        for (long i = 0; i < events; i++) {
            int r = int(rng() % ROWS), c = int(rng() % COLUMNS);
            int x = rowsWidth[c], y = rowsHeights[r];
            switch (rng() % 8) {
            case 0: // a press: on the picture, or on the blank corner of its
                    // cell
                if (rng() % 4 == 0) {
                    push(mouse(SDL_MOUSEBUTTONDOWN, c * CELL_WIDTH + 2,
                               r * CELL_HEIGHT + 2));
                    break;
                }
                push(mouse(SDL_MOUSEBUTTONDOWN, x + 40, y - 40,
                           Uint8(1 + rng() % 5)));
                if (carried < 0)
                    carried = r * COLUMNS + c;
                break;
            case 1: { // a release: on a cell, or outside the window
                bool outside = rng() % 4 == 0;
                if (carried >= 0 && !outside) {
                    exchange(carried, r * COLUMNS + c);
                    if (sorted()) { // keep the session going
                        exchange(carried, r * COLUMNS + c);
                        outside = true;
                    }
                }
                push(outside ? mouse(SDL_MOUSEBUTTONUP, 1279, int(rng() % 3000))
                             : mouse(SDL_MOUSEBUTTONUP, x - 60, y + 100));
                carried = -1;
                break;
            }
            case 2:
                push(key(SDLK_a + SDL_Keycode(rng() % 26)));
                break;
            default:
                push(mouse(SDL_MOUSEMOTION, int(rng() % 6001) - 3000,
                           int(rng() % 6001) - 3000));
            }
        }
    }

    // Drags every misplaced picture into its row; the last drop wins.
    void sortAndEnd()
    {
        if (carried >= 0)
            push(mouse(SDL_MOUSEBUTTONUP, 1279, 0));
        for (int from = 0; from < ROWS * COLUMNS;) {
            int wanted = group[board[from / COLUMNS][from % COLUMNS]];
            if (wanted == rows[from / COLUMNS]) {
                from++;
                continue;
            }
            int to = 0;
            while (rows[to / COLUMNS] != wanted ||
                   group[board[to / COLUMNS][to % COLUMNS]] == wanted)
                to++;
            push(mouse(SDL_MOUSEBUTTONDOWN, rowsWidth[from % COLUMNS],
                       rowsHeights[from / COLUMNS]));
            push(mouse(SDL_MOUSEBUTTONUP, rowsWidth[to % COLUMNS],
                       rowsHeights[to / COLUMNS]));
            exchange(from, to);
        }
        push(key(SDLK_RETURN));
    }

  private:
    void exchange(int a, int b)
    {
        std::swap(board[a / COLUMNS][a % COLUMNS],
                  board[b / COLUMNS][b % COLUMNS]);
    }
    bool sorted() const
    {
        for (int i = 0; i < ROWS * COLUMNS; i++)
            if (group[board[i / COLUMNS][i % COLUMNS]] != rows[i / COLUMNS])
                return false;
        return true;
    }

    std::mt19937 rng;
    int board[ROWS][COLUMNS];
    int group[SIGNS + 1];
    int rows[ROWS];
    int carried = -1;
};

// Waits until the game has taken every queued event and drawn the last.
void drain()
{
    push(SDL_Event{}, 0);
    SDL_Delay(100);
}

// ZORVANE_SOAK_EVENTS sets the length (2 × 10^4 by default); memory is read
// after a tenth of it and at the end. The numbers are printed.
TEST_F(Session, LongSessionEndsInAWinWithMemoryFlat)
{
    const char *setting = getenv("ZORVANE_SOAK_EVENTS");
    const long events = setting ? atol(setting) : 20000;
    ChildResult result = runInChild([&] {
        startUp(5);
        std::thread([events] {
            Player player(5);
            push(key(SDLK_SPACE));
            player.play(events / 10);
            drain();
            size_t heap = heapInUse(), rss = residentSize();
            player.play(events - events / 10);
            drain();
            printf("after %ld events: heap %zu B, resident %zu kB; after %ld: "
                   "heap %zu B, resident %zu kB",
                   events / 10, heap, rss / 1024, events, heapInUse(),
                   residentSize() / 1024);
            fflush(stdout);
            player.sortAndEnd();
        }).detach();
        startGame();
    });
    ASSERT_EQ(result.status, 0) << result.output;
    printf("%s\n", result.output.c_str());
    long tenth, all;
    size_t heap1, rss1, heap2, rss2;
    ASSERT_EQ(sscanf(result.output.c_str(),
                     "after %ld events: heap %zu B, resident %zu kB; after "
                     "%ld: heap %zu B, resident %zu kB",
                     &tenth, &heap1, &rss1, &all, &heap2, &rss2),
              6);
    EXPECT_LE(heap2, heap1 + 16 * 1024);
    EXPECT_LE(rss2, rss1 + 1024);
}

} // namespace
