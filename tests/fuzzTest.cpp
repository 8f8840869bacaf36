// Random pointer input through the play loop's own mouse handling
// (dragAndDrop), with the board's invariants checked after every event:
// presses, motions and releases of every button anywhere from -3000 to
// +3000, keys and other events, presses while carrying, on catalogues whose
// pictures range from 1 × 1 to larger than a cell.
//
// Built two ways: as a GoogleTest (ZORVANE_FUZZ_EVENTS sets how many events,
// 10^6 by default, spread over seeds of 5000 events each), and with
// -DZORVANE_LIBFUZZER as a libFuzzer target whose input bytes choose the
// catalogue, the deal and every event.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "zorvane.h"

#ifndef ZORVANE_LIBFUZZER
#include <gtest/gtest.h>
#endif

namespace {

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
    bool done() const { return data != nullptr && left == 0; }

  private:
    std::mt19937 rng;
    const uint8_t *data = nullptr;
    size_t left = 0;
};

// Numbers the catalogue as loading does, each picture with a size of its
// own: mostly ordinary, some 1 × 1 or 2 × 2, some larger than a cell.
void fakeCatalogue(Choices &choose)
{
    memset(&GUI, 0, sizeof GUI);
    int sign = 0;
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++) {
            sign++;
            SDL_Rect &rect = GUI.signs[sign].rect;
            int kind = choose.below(10);
            if (kind == 0)
                rect = SDL_Rect{0, 0, 1 + choose.below(2), 1 + choose.below(2)};
            else if (kind == 1)
                rect = SDL_Rect{0, 0, choose.between(CELL_WIDTH, 600),
                                choose.between(CELL_HEIGHT, 900)};
            else
                rect = SDL_Rect{0, 0, choose.between(3, CELL_WIDTH),
                                choose.between(3, CELL_HEIGHT)};
            GUI.signs[sign].group = g;
            signNumberTransfer[g][k] = sign;
        }
}

// A coordinate along one axis: anywhere, near a cell centre (which hits
// most pictures), or on an edge of the window or of the grid.
int coordinate(Choices &choose, const int *centres, int count, int size,
               int cell)
{
    switch (choose.below(4)) {
    case 0:
        return choose.between(-3000, 3000);
    case 1: {
        const int edges[] = {-cell - 1,
                             -cell,
                             -cell + 1,
                             -1,
                             0,
                             1,
                             size - 3,
                             size - 2,
                             size - 1,
                             size,
                             COLUMNS * CELL_WIDTH,
                             cell - 1,
                             cell};
        return edges[choose.below(int(sizeof edges / sizeof edges[0]))];
    }
    default:
        return centres[choose.below(count)] +
               choose.between(-cell / 2, cell / 2);
    }
}

SDL_Event randomEvent(Choices &choose)
{
    SDL_Event event = {};
    int x = coordinate(choose, rowsWidth, COLUMNS, WINDOW_WIDTH, CELL_WIDTH);
    int y = coordinate(choose, rowsHeights, ROWS, WINDOW_HEIGHT, CELL_HEIGHT);
    int kind = choose.below(20);
    if (kind < 6) {
        event.type = SDL_MOUSEBUTTONDOWN;
    } else if (kind < 11) {
        event.type = SDL_MOUSEBUTTONUP;
    } else if (kind < 17) {
        event.type = SDL_MOUSEMOTION;
        event.motion.x = x;
        event.motion.y = y;
        event.motion.xrel = choose.between(-50, 50);
        event.motion.state = Uint32(choose.below(32));
        return event;
    } else if (kind < 19) {
        event.type = choose.chance(50) ? SDL_KEYDOWN : SDL_KEYUP;
        const SDL_Keycode keys[] = {SDLK_SPACE, SDLK_RETURN, SDLK_a,
                                    SDLK_LEFT,  SDLK_F1,     SDLK_q};
        event.key.keysym.sym =
            keys[choose.below(int(sizeof keys / sizeof keys[0]))];
        return event;
    } else {
        const Uint32 others[] = {SDL_MOUSEWHEEL, SDL_WINDOWEVENT, SDL_TEXTINPUT,
                                 SDL_USEREVENT};
        event.type =
            others[choose.below(int(sizeof others / sizeof others[0]))];
        return event;
    }
    event.button.button = Uint8(choose.between(1, 5));
    event.button.clicks = Uint8(choose.between(1, 3));
    event.button.x = x;
    event.button.y = y;
    return event;
}

struct Counts {
    long events = 0, pickUps = 0, drops = 0, exchanges = 0, sortedBoards = 0;
};

// What the checker remembers between events.
struct Expected {
    int dealt[ROWS * COLUMNS]; // the dealt signs, in increasing order
    int atPickUp[ROWS][COLUMNS];
    int grip[2];
};

bool sortedByHand()
{
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            if (GUI.signs[gameField[r][c]].group != category[r])
                return false;
    return true;
}

// Checks one handled event against the board before it; returns what is
// wrong, or an empty string.
std::string check(const SDL_Event &event, bool wasDragging, bool dragging,
                  bool dropped, const int (&before)[ROWS][COLUMNS],
                  Expected &expected, Counts &counts)
{
    bool release = event.type == SDL_MOUSEBUTTONUP;
    if (dropped != (wasDragging && release))
        return "dragAndDrop reported a drop wrongly";
    if (dragging != (takenSign != 0) || (wasDragging && dragging == release))
        return "carrying state and carried sign disagree";

    int signs[ROWS * COLUMNS + 1], n = 0;
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            signs[n++] = gameField[r][c];
    if (dragging)
        signs[n++] = takenSign;
    std::sort(signs, signs + n);
    if (!std::equal(expected.dealt, expected.dealt + ROWS * COLUMNS,
                    signs + n - ROWS * COLUMNS))
        return "the board no longer holds exactly the dealt signs";

    if (dragging) {
        if (signs[0] != 0 || signs[1] == 0 ||
            gameField[empteSlotY][empteSlotX] != 0)
            return "while carrying, the source cell is not the one empty cell";
        if (!wasDragging) {
            counts.pickUps++;
            if (takenSign != before[empteSlotY][empteSlotX])
                return "the carried sign is not the one taken from the source "
                       "cell";
            // A press picks up only on the picture as drawn there.
            const SDL_Rect &rect = GUI.signs[takenSign].rect;
            int left = rowsWidth[empteSlotX] - rect.w / 2;
            int top = rowsHeights[empteSlotY] - rect.h / 2;
            if (event.type != SDL_MOUSEBUTTONDOWN || event.button.x < left ||
                event.button.x >= left + rect.w || event.button.y < top ||
                event.button.y >= top + rect.h)
                return "picked up by something other than a press on the "
                       "picture";
            memcpy(expected.atPickUp, before, sizeof before);
            expected.atPickUp[empteSlotY][empteSlotX] = takenSign;
            expected.grip[0] = rowsWidth[empteSlotX] - event.button.x;
            expected.grip[1] = rowsHeights[empteSlotY] - event.button.y;
        } else if (memcmp(before, gameField, sizeof before) != 0) {
            return "the board changed while carrying";
        }
        if (event.type == SDL_MOUSEMOTION &&
            (TS_korX != event.motion.x + expected.grip[0] ||
             TS_korY != event.motion.y + expected.grip[1]))
            return "the carried picture does not keep its grip under the "
                   "pointer";
    } else if (!dropped && memcmp(before, gameField, sizeof before) != 0) {
        return "the board changed without a drop";
    }

    if (dropped) {
        counts.drops++;
        // The source cell and at most one other were exchanged; inside the
        // window the other is the cell under the pointer.
        int changed = 0, target = -1;
        for (int i = 0; i < ROWS * COLUMNS; i++)
            if (gameField[i / COLUMNS][i % COLUMNS] !=
                expected.atPickUp[i / COLUMNS][i % COLUMNS]) {
                changed++;
                if (i != empteSlotY * COLUMNS + empteSlotX)
                    target = i;
            }
        int x = event.button.x, y = event.button.y;
        bool inGrid =
            x >= 0 && x < COLUMNS * CELL_WIDTH && y >= 0 && y < WINDOW_HEIGHT;
        int under = inGrid ? y / CELL_HEIGHT * COLUMNS + x / CELL_WIDTH : -1;
        if (changed == 0 && inGrid &&
            under != empteSlotY * COLUMNS + empteSlotX)
            return "a drop on another cell exchanged nothing";
        if (changed != 0) {
            counts.exchanges++;
            int source = empteSlotY * COLUMNS + empteSlotX;
            int r = target / COLUMNS, c = target % COLUMNS;
            if (changed != 2 || target < 0 || (inGrid && target != under) ||
                gameField[r][c] != expected.atPickUp[empteSlotY][empteSlotX] ||
                gameField[empteSlotY][empteSlotX] != expected.atPickUp[r][c] ||
                source == target)
                return "a drop did more than exchange the source with one cell";
        }
        bool sorted = sortedByHand();
        counts.sortedBoards += sorted;
        if (gameFieldSorted() != sorted)
            return "gameFieldSorted disagrees with the rows' groups";
    }
    return "";
}

// Sometimes a deliberate move: a press on a picture in the wrong row, or on
// the one it should change places with, carried to the other cell. Without
// these, random play would almost never sort a board.
bool guidedDrag(Choices &choose, SDL_Event out[3])
{
    for (int tries = 0; tries < 10; tries++) {
        int r = choose.below(ROWS), c = choose.below(COLUMNS);
        int sign = gameField[r][c];
        if (sign == 0 || GUI.signs[sign].group == category[r])
            continue;
        for (int r2 = 0; r2 < ROWS; r2++) {
            if (category[r2] != GUI.signs[sign].group)
                continue;
            for (int c2 = 0; c2 < COLUMNS; c2++) {
                int other = gameField[r2][c2];
                if (other == 0 || GUI.signs[other].group == category[r2])
                    continue;
                bool fromFirst =
                    GUI.signs[sign].rect.w > 1 && GUI.signs[sign].rect.h > 1;
                int fr = fromFirst ? r : r2, fc = fromFirst ? c : c2;
                int tr = fromFirst ? r2 : r, tc = fromFirst ? c2 : c;
                out[0] = SDL_Event{};
                out[0].type = SDL_MOUSEBUTTONDOWN;
                out[0].button.x = rowsWidth[fc];
                out[0].button.y = rowsHeights[fr];
                out[1] = SDL_Event{};
                out[1].type = SDL_MOUSEMOTION;
                out[1].motion.x = rowsWidth[tc];
                out[1].motion.y = rowsHeights[tr];
                out[2] = out[0];
                out[2].type = SDL_MOUSEBUTTONUP;
                out[2].button.x = rowsWidth[tc] + choose.between(-70, 70);
                out[2].button.y = rowsHeights[tr] + choose.between(-119, 119);
                return true;
            }
        }
    }
    return false;
}

// Deals a board from a catalogue and a seed both chosen by `choose`, then
// feeds up to `events` events; returns a description of the first fault.
std::string play(Choices &choose, long events, Counts &counts)
{
    fakeCatalogue(choose);
    srand(unsigned(choose.below(1 << 30)));
    FillGameField();
    takenSign = 0;
    Expected expected;
    memcpy(expected.dealt, gameField, sizeof expected.dealt);
    std::sort(expected.dealt, expected.dealt + ROWS * COLUMNS);
    bool dragging = false;
    int guidance = choose.below(60); // percent of drags that are deliberate

    SDL_Event queue[3];
    int queued = 0, next = 0;
    for (long i = 0; i < events && !choose.done(); i++) {
        SDL_Event event;
        if (next < queued) {
            event = queue[next++];
        } else if (!dragging && choose.chance(guidance) &&
                   guidedDrag(choose, queue)) {
            queued = 3;
            next = 1;
            event = queue[0];
        } else {
            event = randomEvent(choose);
        }
        int before[ROWS][COLUMNS];
        memcpy(before, gameField, sizeof before);
        bool wasDragging = dragging;
        bool dropped = dragAndDrop(&event, &dragging, nullptr, nullptr);
        counts.events++;
        std::string fault = check(event, wasDragging, dragging, dropped, before,
                                  expected, counts);
        if (!fault.empty())
            return fault + " (event " + std::to_string(i) + ", type " +
                   std::to_string(event.type) + " at " +
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
    std::string fault = play(choose, 100000, counts);
    if (!fault.empty()) {
        fprintf(stderr, "%s\n", fault.c_str());
        abort();
    }
    return 0;
}

#else

TEST(Fuzz, RandomPointerInputKeepsTheBoardWhole)
{
    const long perSeed = 5000;
    const char *setting = getenv("ZORVANE_FUZZ_EVENTS");
    const long total = setting ? atol(setting) : 1000000;
    const unsigned firstSeed = getenv("ZORVANE_FUZZ_SEED")
                                   ? unsigned(atol(getenv("ZORVANE_FUZZ_SEED")))
                                   : 1;
    Counts counts;
    unsigned seed = firstSeed;
    for (; counts.events < total; seed++) {
        Choices choose(seed);
        std::string fault =
            play(choose, std::min(perSeed, total - counts.events), counts);
        ASSERT_EQ(fault, "") << "seed " << seed;
    }
    printf(
        "%ld events over seeds %u..%u: %ld pick-ups, %ld drops, %ld exchanges, "
        "%ld sorted boards\n",
        counts.events, firstSeed, seed - 1, counts.pickUps, counts.drops,
        counts.exchanges, counts.sortedBoards);
    // The input reached every kind of outcome, not just misses.
    EXPECT_GT(counts.pickUps, counts.events / 100);
    EXPECT_GT(counts.exchanges, counts.drops / 4);
    EXPECT_GT(counts.sortedBoards, 0);
}

#endif
