// The board logic on its own: dealing, the hit test, the exchange, the
// sorted test and the mouse state machine. No SDL is started.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "zorvane.h"

namespace {

// Numbers the catalogue as loading does (groups in order, consecutive sign
// numbers) and gives every picture the same size.
void fakeCatalogue(int width, int height)
{
    memset(&GUI, 0, sizeof GUI);
    int sign = 0;
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++) {
            sign++;
            GUI.signs[sign].group = g;
            GUI.signs[sign].rect = SDL_Rect{0, 0, width, height};
            signNumberTransfer[g][k] = sign;
        }
}

struct Board {
    int cells[ROWS][COLUMNS];
};

Board snapshot()
{
    Board board;
    memcpy(board.cells, gameField, sizeof board.cells);
    return board;
}

bool operator==(const Board &a, const Board &b)
{
    return memcmp(a.cells, b.cells, sizeof a.cells) == 0;
}

// The invariants of a board with nothing carried: 27 different signs, nine
// of each row's group.
void expectDealtBoard()
{
    std::set<int> signs;
    int perGroup[GROUPS] = {};
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++) {
            ASSERT_GE(gameField[r][c], 1);
            ASSERT_LE(gameField[r][c], SIGNS);
            signs.insert(gameField[r][c]);
            perGroup[GUI.signs[gameField[r][c]].group]++;
        }
    EXPECT_EQ(signs.size(), 27u);
    for (int r = 0; r < ROWS; r++)
        EXPECT_EQ(perGroup[category[r]], 9);
}

// A dealt board with a known layout: row r holds group r's first nine signs.
void sortedBoard()
{
    for (int r = 0; r < ROWS; r++) {
        category[r] = r;
        for (int c = 0; c < COLUMNS; c++)
            gameField[r][c] = signNumberTransfer[r][c + 1];
    }
    takenSign = 0;
}

class BoardTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        fakeCatalogue(100, 80);
        sortedBoard();
    }
};

TEST_F(BoardTest, DealKeepsItsInvariantsOverManySeeds)
{
    for (unsigned seed = 0; seed < 3000; seed++) {
        srand(seed);
        FillGameField();
        ASSERT_NE(category[0], category[1]);
        ASSERT_NE(category[0], category[2]);
        ASSERT_NE(category[1], category[2]);
        for (int r = 0; r < ROWS; r++) {
            ASSERT_GE(category[r], 0);
            ASSERT_LT(category[r], GROUPS);
        }
        expectDealtBoard();
        if (HasFailure())
            FAIL() << "seed " << seed;
    }
}

TEST_F(BoardTest, DealScramblesAcrossRowsAndRepeatsForTheSameSeed)
{
    int mixedRows = 0;
    for (unsigned seed = 0; seed < 200; seed++) {
        srand(seed);
        FillGameField();
        Board first = snapshot();
        int firstCategory[ROWS];
        memcpy(firstCategory, category, sizeof category);
        mixedRows += !gameFieldSorted();

        srand(seed);
        FillGameField();
        ASSERT_TRUE(snapshot() == first) << "seed " << seed;
        ASSERT_EQ(memcmp(firstCategory, category, sizeof category), 0);
    }
    EXPECT_GT(mixedRows, 190); // sorted deals are possible, but rare
}

TEST_F(BoardTest, DealsEveryGroupAndAllNineSignsOfTheSmallestOne)
{
    std::set<int> chosen;
    for (unsigned seed = 0; seed < 300; seed++) {
        srand(seed);
        FillGameField();
        for (int r = 0; r < ROWS; r++) {
            chosen.insert(category[r]);
            if (category[r] != 1)
                continue;
            std::set<int> groupOne;
            for (int rr = 0; rr < ROWS; rr++)
                for (int c = 0; c < COLUMNS; c++)
                    if (GUI.signs[gameField[rr][c]].group == 1)
                        groupOne.insert(gameField[rr][c]);
            EXPECT_EQ(groupOne,
                      (std::set<int>{31, 32, 33, 34, 35, 36, 37, 38, 39}));
        }
    }
    EXPECT_EQ(chosen.size(), size_t(GROUPS));
}

// Cell (row 1, column 2) is centred on (355, 360); a 100 × 80 picture spans
// x 305..405 and y 320..400, and only the inside counts.
TEST_F(BoardTest, HitTestIsStrictOnAllFourEdges)
{
    const int sign = gameField[1][2];
    struct {
        int x, y, hits;
    } presses[] = {
        {305, 360, 0}, {306, 360, 1}, {405, 360, 0}, {404, 360, 1},
        {355, 320, 0}, {355, 321, 1}, {355, 400, 0}, {355, 399, 1},
        {290, 360, 0}, {355, 250, 0}, // the cell's blank margin
    };
    for (const auto &p : presses) {
        sortedBoard();
        EXPECT_EQ(takeSingOnGameField(p.x, p.y), p.hits) << p.x << "," << p.y;
        if (p.hits)
            EXPECT_EQ(takenSign, sign);
        else
            EXPECT_EQ(gameField[1][2], sign);
    }
}

TEST_F(BoardTest, OddSizesUseTruncatedHalves)
{
    GUI.signs[gameField[0][0]].rect = SDL_Rect{0, 0, 101, 81}; // halves 50, 40
    EXPECT_EQ(takeSingOnGameField(21, 120), 0);
    EXPECT_EQ(takeSingOnGameField(71, 80), 0);
    EXPECT_EQ(takeSingOnGameField(22, 81), 1);
}

TEST_F(BoardTest, PickUpEmptiesTheCellAndRemembersTheGrip)
{
    ASSERT_EQ(takeSingOnGameField(230, 380), 1);
    EXPECT_EQ(gameField[1][1], 0);
    EXPECT_EQ(takenSign, signNumberTransfer[1][2]);
    EXPECT_EQ(empteSlotX, 1);
    EXPECT_EQ(empteSlotY, 1);
    EXPECT_EQ(TS_korX, 213); // first drawn exactly where it lay
    EXPECT_EQ(TS_korY, 360);
    EXPECT_EQ(aX, 213 - 230);
    EXPECT_EQ(aY, 360 - 380);
}

TEST_F(BoardTest, PressIsJudgedAgainstThePictureOfTheCellUnderThePointer)
{
    // Column 0's picture overhangs into column 1, whose own picture is small.
    GUI.signs[gameField[0][0]].rect = SDL_Rect{0, 0, 200, 80};
    GUI.signs[gameField[0][1]].rect = SDL_Rect{0, 0, 20, 20};
    EXPECT_EQ(takeSingOnGameField(150, 120), 0);
    EXPECT_EQ(takeSingOnGameField(213, 120), 1);
    EXPECT_EQ(empteSlotX, 1);
}

TEST_F(BoardTest, PressOutsideEveryCellPicksNothingUp)
{
    const Board before = snapshot();
    GUI.signs[gameField[0][8]].rect =
        SDL_Rect{0, 0, 142, 240}; // fills its cell
    for (int x : {1278, 1279, 3000})
        for (int y : {0, 120, 719})
            EXPECT_EQ(takeSingOnGameField(x, y), 0) << x << "," << y;
    EXPECT_EQ(takeSingOnGameField(500, 720), 0);
    EXPECT_EQ(takeSingOnGameField(-3000, -3000), 0);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(takenSign, 0);
}

TEST_F(BoardTest, DropExchangesWithTheTargetAcrossRows)
{
    const int carried = gameField[0][3];
    const int target = gameField[2][7];
    ASSERT_EQ(takeSingOnGameField(497 + 30, 120 - 20), 1);
    putSingOnGameField(1065 - 60, 600 + 110); // the target cell's margin counts
    EXPECT_EQ(gameField[0][3], target);
    EXPECT_EQ(gameField[2][7], carried);
    EXPECT_EQ(takenSign, 0);
}

TEST_F(BoardTest, DropOnTheSourceCellOrOutsideEveryCellPutsThePictureBack)
{
    const Board before = snapshot();
    const int drops[][2] = {
        {497, 120},  {1278, 100}, {1279, 500},    {3000, 3000},    {500, 720},
        {-142, 100}, {100, -240}, {-3000, -3000}, {2000000000, 5},
    };
    for (const auto &drop : drops) {
        ASSERT_EQ(takeSingOnGameField(497, 120), 1);
        putSingOnGameField(drop[0], drop[1]);
        EXPECT_TRUE(snapshot() == before) << drop[0] << "," << drop[1];
        EXPECT_EQ(takenSign, 0);
    }
}

TEST_F(BoardTest, DropJustLeftOfOrAboveTheWindowLandsInTheFirstColumnOrRow)
{
    const int carried = gameField[1][4];
    const int corner = gameField[0][0];
    ASSERT_EQ(takeSingOnGameField(639, 360), 1);
    putSingOnGameField(-141, -239);
    EXPECT_EQ(gameField[0][0], carried);
    EXPECT_EQ(gameField[1][4], corner);
}

TEST_F(BoardTest, SortedTestComparesGroupsNotPictures)
{
    EXPECT_TRUE(gameFieldSorted());
    // Any arrangement within a row, and pictures the deal did not use.
    gameField[0][0] = signNumberTransfer[0][30];
    std::swap(gameField[1][0], gameField[1][8]);
    EXPECT_TRUE(gameFieldSorted());
    // One picture in the wrong row.
    std::swap(gameField[0][4], gameField[2][4]);
    EXPECT_FALSE(gameFieldSorted());
    std::swap(gameField[0][4], gameField[2][4]);
    // Rows follow their labels, whatever the group numbers.
    category[0] = 5;
    EXPECT_FALSE(gameFieldSorted());
    for (int c = 0; c < COLUMNS; c++)
        gameField[0][c] = signNumberTransfer[5][c + 10];
    EXPECT_TRUE(gameFieldSorted());
}

SDL_Event mouseEvent(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT)
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

bool handle(const SDL_Event &event, bool *dragging)
{
    return dragAndDrop(&event, dragging, NULL, NULL);
}

TEST_F(BoardTest, MouseCarriesWithTheGripKeptAndAnyButtonWorks)
{
    bool dragging = false;
    const int carried = gameField[0][0];
    const int target = gameField[1][1];

    EXPECT_FALSE(handle(mouseEvent(SDL_MOUSEMOTION, 71, 120), &dragging));
    EXPECT_FALSE(handle(mouseEvent(SDL_MOUSEBUTTONUP, 71, 120), &dragging));
    EXPECT_FALSE(handle(mouseEvent(SDL_MOUSEBUTTONDOWN, 5, 5), &dragging));
    EXPECT_FALSE(dragging); // a miss picks nothing up

    handle(mouseEvent(SDL_MOUSEBUTTONDOWN, 80, 130, SDL_BUTTON_RIGHT),
           &dragging);
    ASSERT_TRUE(dragging);
    handle(mouseEvent(SDL_MOUSEMOTION, 400, 500), &dragging);
    EXPECT_EQ(TS_korX, 391); // the grip point stays under the pointer
    EXPECT_EQ(TS_korY, 490);

    // A further press while carrying changes nothing.
    EXPECT_FALSE(handle(mouseEvent(SDL_MOUSEBUTTONDOWN, 213, 360), &dragging));
    EXPECT_TRUE(dragging);
    EXPECT_EQ(takenSign, carried);

    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_a;
    EXPECT_FALSE(handle(key, &dragging));

    EXPECT_TRUE(handle(
        mouseEvent(SDL_MOUSEBUTTONUP, 213, 360, SDL_BUTTON_MIDDLE), &dragging));
    EXPECT_FALSE(dragging);
    EXPECT_EQ(gameField[1][1], carried);
    EXPECT_EQ(gameField[0][0], target);
}

} // namespace
