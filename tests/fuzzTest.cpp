// Random pointer input through the play loop's own mouse handling
// (dragAndDrop), with the board's invariants checked after every event:
// presses, motion and releases of every button from -3000 to +3000,
// favouring cell centres and the edges of the window and grid; keys and
// other events; presses while carrying; pictures from 1 × 1 to larger than a
// cell; dealt boards and sorted ones.
//
// Built two ways: as a GoogleTest (ZORVANE_FUZZ_EVENTS events, 10^6 by
// default, in seeds of 5000 from ZORVANE_FUZZ_SEED, 1 by default), and with
// -DZORVANE_LIBFUZZER as a libFuzzer target whose input bytes make every
// choice.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>

#include "support.h"

#ifndef ZORVANE_LIBFUZZER
#include <gtest/gtest.h>
#endif

namespace {

const int CELLS = ROWS * COLUMNS;

// Where the choices come from: a seeded generator, or the fuzzer's bytes
// (which run out; after that every choice is 0 and done() is true).
class Choices {
  public:
    explicit Choices(unsigned seed) : rng(seed) {}
    Choices(const uint8_t *data, size_t size) : data(data), left(size) {}

    int below(int n)
    {
        if (data == nullptr)
            return int(rng() % unsigned(n));
        uint32_t value = 0;
        for (int i = 0; i < 3 && left > 0; i++, left--)
            value = value << 8 | *data++;
        return int(value % unsigned(n));
    }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    int oneOf(std::initializer_list<int> values)
    {
        return values.begin()[below(int(values.size()))];
    }
    bool done() const { return data != nullptr && left == 0; }

  private:
    std::mt19937 rng;
    const uint8_t *data = nullptr;
    size_t left = 0;
};

int &cell(int i)
{
    return gameField[i / COLUMNS][i % COLUMNS];
}

// A tenth of the pictures 1 × 1 or 2 × 2, a tenth up to 600 × 900, larger
// than a cell, the rest ordinary.
SDL_Rect pictureSize(Choices &choose)
{
    const int kind = choose.below(10);
    const int w = kind == 0 ? 1 + choose.below(2)
                            : choose.between(3, kind == 1 ? 600 : CELL_WIDTH);
    const int h = kind == 0 ? 1 + choose.below(2)
                            : choose.between(3, kind == 1 ? 900 : CELL_HEIGHT);
    return SDL_Rect{0, 0, w, h};
}

// Along one axis: anywhere, on an edge of the window or the grid, or near a
// cell centre (which hits most pictures).
int coordinate(Choices &choose, const int *centres, int count, int size,
               int cell)
{
    switch (choose.below(4)) {
    case 0:
        return choose.between(-3000, 3000);
    case 1:
        return choose.oneOf({-cell - 1, -cell, -cell + 1, -1, 0, 1, cell - 1,
                             cell, size - 3, size - 2, size - 1, size,
                             COLUMNS * CELL_WIDTH});
    default: // two choices in one expression would come in no fixed order
        const int centre = centres[choose.below(count)];
        return centre + choose.between(-cell / 2, cell / 2);
    }
}

SDL_Event randomEvent(Choices &choose)
{
    const int x =
        coordinate(choose, rowsWidth, COLUMNS, WINDOW_WIDTH, CELL_WIDTH);
    const int y =
        coordinate(choose, rowsHeights, ROWS, WINDOW_HEIGHT, CELL_HEIGHT);
    const int kind = choose.below(20), button = choose.between(1, 5);
    SDL_Event event = mouseEvent(kind < 6    ? SDL_MOUSEBUTTONDOWN
                                 : kind < 11 ? SDL_MOUSEBUTTONUP
                                             : SDL_MOUSEMOTION,
                                 x, y, Uint8(button));
    if (kind >= 17) // keys, and events that the play loop never sees
        event = keyEvent(
            choose.oneOf({SDLK_SPACE, SDLK_RETURN, SDLK_a, SDLK_ESCAPE}));
    if (kind == 18)
        event.type = SDL_KEYUP;
    if (kind == 19)
        event.type = Uint32(choose.oneOf(
            {SDL_MOUSEWHEEL, SDL_WINDOWEVENT, SDL_TEXTINPUT, SDL_USEREVENT}));
    return event;
}

struct Counts {
    long events = 0, pickUps = 0, exchanges = 0, sortedBoards = 0;
};

// The board as the events so far must have left it, the carried sign, and
// where it was gripped.
struct Expected {
    int board[CELLS];
    int carried, grip[2];
};

// Checks the state after one event. A pick-up happens only on a press on the
// picture as drawn in the cell under the pointer, and empties that cell; the
// board changes only then and on a release, which exchanges the carried
// picture with the cell under it (or puts it back when the pointer is in no
// cell); motion keeps the grip.
const char *check(const SDL_Event &event, bool wasDragging, bool dragging,
                  bool dropped, Expected &expected, Counts &counts)
{
    const bool release = event.type == SDL_MOUSEBUTTONUP;
    if (dropped != (wasDragging && release) || dragging != (takenSign != 0) ||
        (wasDragging && dragging == release))
        return "carrying, dropping and the carried sign disagree";
    const int source = empteSlotY * COLUMNS + empteSlotX;
    const int x = event.button.x, y = event.button.y;
    const int column = x / CELL_WIDTH, row = y / CELL_HEIGHT;
    if (dragging && !wasDragging) {
        counts.pickUps++;
        const SDL_Rect &rect = GUI.signs[takenSign].rect;
        const int left = rowsWidth[empteSlotX] - rect.w / 2;
        const int top = rowsHeights[empteSlotY] - rect.h / 2;
        if (event.type != SDL_MOUSEBUTTONDOWN || column != empteSlotX ||
            row != empteSlotY || x < left || x >= left + rect.w || y < top ||
            y >= top + rect.h || takenSign != expected.board[source])
            return "picked up by something other than a press on the picture";
        expected.carried = takenSign;
        expected.board[source] = 0;
        expected.grip[0] = rowsWidth[empteSlotX] - x;
        expected.grip[1] = rowsHeights[empteSlotY] - y;
    }
    if (dropped) {
        const bool inCell =
            column >= 0 && column < COLUMNS && row >= 0 && row < ROWS;
        const int target = inCell ? row * COLUMNS + column : source;
        counts.exchanges += target != source;
        expected.board[source] = expected.board[target];
        expected.board[target] = expected.carried;
    }
    for (int i = 0; i < CELLS; i++)
        if (cell(i) != expected.board[i])
            return "the board is not as the pick-ups and drops left it";
    if (dragging && (takenSign != expected.carried ||
                     (event.type == SDL_MOUSEMOTION &&
                      (TS_korX != event.motion.x + expected.grip[0] ||
                       TS_korY != event.motion.y + expected.grip[1]))))
        return "the carried picture changed or lost its grip";
    if (!dropped)
        return nullptr;
    // Checked apart from gameFieldSorted: every picture in its label's row.
    bool sorted = true;
    for (int i = 0; i < CELLS; i++)
        sorted = sorted && GUI.signs[cell(i)].group == category[i / COLUMNS];
    counts.sortedBoards += sorted;
    return gameFieldSorted() == sorted ? nullptr : "gameFieldSorted is wrong";
}

// Deals a board from a catalogue and a seed both chosen by `choose`, sorted
// now and then so that sorted boards recur; then feeds up to `events` events
// and returns a description of the first fault.
std::string play(Choices &choose, long events, Counts &counts)
{
    numberCatalogue([&] { return pictureSize(choose); });
    srand(unsigned(choose.below(1 << 30)));
    FillGameField();
    if (choose.chance(25))
        sortBoard();
    takenSign = 0;
    Expected expected = {};
    for (int i = 0; i < CELLS; i++)
        expected.board[i] = cell(i);
    bool dragging = false;
    for (long i = 0; i < events && !choose.done(); i++) {
        const SDL_Event event = randomEvent(choose);
        const bool wasDragging = dragging;
        const bool dropped = dragAndDrop(&event, &dragging, nullptr, nullptr);
        counts.events++;
        if (const char *fault =
                check(event, wasDragging, dragging, dropped, expected, counts))
            return std::string(fault) + " (event " + std::to_string(i) +
                   ", type " + std::to_string(event.type) + " at " +
                   std::to_string(event.button.x) + "," +
                   std::to_string(event.button.y) + ")";
    }
    return "";
}

} // namespace

#ifdef ZORVANE_LIBFUZZER

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Choices choose(data, size);
    Counts counts;
    const std::string fault = play(choose, 100000, counts);
    if (!fault.empty()) {
        fprintf(stderr, "%s\n", fault.c_str());
        abort();
    }
    return 0;
}

#else

TEST(Fuzz, RandomPointerInputKeepsTheBoardWhole)
{
    const char *total = getenv("ZORVANE_FUZZ_EVENTS");
    const char *first = getenv("ZORVANE_FUZZ_SEED");
    const long events = total ? atol(total) : 1000000;
    const unsigned firstSeed = first ? unsigned(atol(first)) : 1;
    Counts counts;
    unsigned seed = firstSeed;
    for (; counts.events < events; seed++) {
        Choices choose(seed);
        ASSERT_EQ(play(choose, std::min(5000L, events - counts.events), counts),
                  "")
            << "seed " << seed;
    }
    printf("%ld events over seeds %u..%u: %ld pick-ups, %ld exchanges, %ld "
           "sorted boards\n",
           counts.events, firstSeed, seed - 1, counts.pickUps, counts.exchanges,
           counts.sortedBoards);
    // The input reached every kind of outcome, not just misses.
    EXPECT_GT(counts.pickUps, counts.events / 100);
    EXPECT_GT(counts.exchanges, counts.pickUps / 4);
    EXPECT_GT(counts.sortedBoards, 0);
}

#endif
