// Loading and drawing in-process, under the dummy video driver with the
// software renderer, checked on pixels read back. The generated signs are
// 100 × 160: tall enough to reach their row's label band, 13..42 pixels
// below the row's top.
#include <gtest/gtest.h>

#include "support.h"

namespace {

const int SIGN_W = 100, SIGN_H = 160;

// Loaded once for every test; the pictures are in memory after that.
class LoadedSet : public ::testing::Environment {
    void SetUp() override
    {
        const std::string dir = enterPictureSet(SIGN_W, SIGN_H);
        initializationGrafic();
        initializationTexteres();
        leavePictureSet(dir);
    }
};

::testing::Environment *const loadedSet =
    ::testing::AddGlobalTestEnvironment(new LoadedSet);

SDL_Color colourOf(int sign)
{
    const int group = GUI.signs[sign].group;
    return signColour(group, sign - signNumberTransfer[group][1] + 1);
}

// Directory d holds group d - 1, numbered on from the previous group; the
// table's columns past a group's count stay 0.
TEST(Loading, NumbersSignsGroupByGroupAndFillsTheGroupTable)
{
    const int firstSign[GROUPS + 1] = {1, 31, 40, 57, 72, 86, 105};
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= GROUP_CAPACITY; k++) {
            const int sign = firstSign[g] + k - 1;
            const bool used = sign < firstSign[g + 1];
            ASSERT_EQ(signNumberTransfer[g][k], used ? sign : 0) << g << k;
            if (!used)
                continue;
            EXPECT_EQ(GUI.signs[sign].group, g);
            EXPECT_NE(GUI.signs[sign].texture, nullptr);
            EXPECT_EQ(GUI.signs[sign].rect.w, SIGN_W);
            EXPECT_EQ(GUI.signs[sign].rect.h, SIGN_H);
        }
    EXPECT_EQ(GUI.namesGroup.rect.h, 180);
    EXPECT_EQ(GUI.welcome.rect.w, 600);
    EXPECT_EQ(GUI.felicitation.rect.h, 300);
}

class PlayScreen : public ::testing::Test {
  protected:
    void SetUp() override
    {
        srand(7);
        FillGameField();
        takenSign = 0;
    }
};

// Pictures lie centred in their cells. The label strip is 300 wide, so
// labels span x 490..789, over the pictures of columns 3 to 5.
TEST_F(PlayScreen, DrawsPicturesCentredAndLabelsOverThemNamingTheRowsGroup)
{
    renderingGameField();
    for (int r = 0; r < ROWS; r++) {
        for (int c = 0; c < COLUMNS; c++) {
            const SDL_Color colour = colourOf(gameField[r][c]);
            const int x = rowsWidth[c], y = rowsHeights[r];
            EXPECT_EQ(pixelAt(x - SIGN_W / 2, y + 50), colour) << r << c;
            EXPECT_EQ(pixelAt(x + SIGN_W / 2 - 1, y - 30), colour) << r << c;
            EXPECT_EQ(pixelAt(x - SIGN_W / 2 - 1, y), WHITE) << r << c;
            EXPECT_EQ(pixelAt(x + SIGN_W / 2, y), WHITE) << r << c;
        }
        const int top = CELL_HEIGHT * r;
        const SDL_Color label = labelColour(category[r]);
        EXPECT_EQ(pixelAt(639, top + 41), label) << r;
        EXPECT_EQ(pixelAt(490, top + 13), label) << r;
        EXPECT_EQ(pixelAt(789, top + 42), label) << r;
        EXPECT_EQ(pixelAt(489, top + 20), WHITE) << r;
        EXPECT_EQ(pixelAt(639, top + 43), colourOf(gameField[r][4])) << r;
        EXPECT_EQ(pixelAt(71, top + 41), colourOf(gameField[r][0])) << r;
    }
}

TEST_F(PlayScreen, CarriedPictureLiesOverEverythingAndLeavesItsCellEmpty)
{
    const int sign = gameField[0][4];
    ASSERT_EQ(takeSingOnGameField(639, 120), 1);
    TS_korX = 639 + 142; // over the neighbouring picture and the label
    TS_korY = 120 - 60;
    renderingGameField();
    EXPECT_EQ(pixelAt(639, 120), WHITE);
    EXPECT_EQ(pixelAt(781, 30), colourOf(sign));
    EXPECT_EQ(pixelAt(781, 100), colourOf(sign));
    EXPECT_EQ(pixelAt(639, 30), labelColour(category[0]));
    putSingOnGameField(639, 120);
}

TEST_F(PlayScreen, MissingTextureDrawsNothingButKeepsItsHitArea)
{
    const int sign = gameField[1][0];
    SDL_Texture *texture = GUI.signs[sign].texture;
    GUI.signs[sign].texture = NULL;
    renderingGameField();
    EXPECT_EQ(pixelAt(71, 360), WHITE);
    EXPECT_EQ(takeSingOnGameField(71, 360), 1);
    putSingOnGameField(71, 360);
    GUI.signs[sign].texture = texture;
}

// Only what the screens handle passes; quitting is tried in sessionTest.
TEST(EventFilter, KeepsOnlyWhatTheScreensHandle)
{
    const struct {
        Uint32 type;
        SDL_Keycode key;
        int kept;
    } table[] = {
        {SDL_MOUSEBUTTONDOWN, 0, 1}, {SDL_MOUSEBUTTONUP, 0, 1},
        {SDL_MOUSEMOTION, 0, 1},     {SDL_KEYDOWN, SDLK_SPACE, 1},
        {SDL_KEYDOWN, SDLK_a, 1},    {SDL_KEYUP, SDLK_ESCAPE, 0},
        {SDL_KEYUP, SDLK_SPACE, 0},  {SDL_WINDOWEVENT, 0, 0},
        {SDL_MOUSEWHEEL, 0, 0},      {SDL_TEXTINPUT, 0, 0},
        {SDL_USEREVENT, 0, 0},
    };
    for (const auto &row : table) {
        SDL_Event event = keyEvent(row.key);
        event.type = row.type;
        EXPECT_EQ(EventFilter(NULL, &event), row.kept) << "type " << row.type;
    }
}

} // namespace
