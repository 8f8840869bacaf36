// The SDL side in-process, under the dummy video driver with the software
// renderer: loading a generated picture set, and what the play screen shows,
// read back pixel by pixel.
#include <gtest/gtest.h>

#include <SDL_image.h>
#include <filesystem>
#include <unistd.h>

#include "support.h"

namespace {

// Sign pictures 100 × 160: tall enough to reach the label band of their row
// (pixel rows 13..42 below the row's top), so stacking shows.
const int SIGN_W = 100, SIGN_H = 160;

class Screen : public ::testing::Environment {
  public:
    void SetUp() override
    {
        useHeadlessVideo();
        writePictureSet(dir, SIGN_W, SIGN_H);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        initializationGrafic();
        initializationTexteres();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

  private:
    std::string dir = makeTempDir();
};

::testing::Environment *const screen =
    ::testing::AddGlobalTestEnvironment(new Screen);

SDL_Color pixel(int x, int y)
{
    Uint32 value = 0;
    SDL_Rect one = {x, y, 1, 1};
    EXPECT_EQ(
        SDL_RenderReadPixels(ren, &one, SDL_PIXELFORMAT_RGBA32, &value, 4), 0);
    SDL_Color c;
    memcpy(&c, &value, 4);
    return c;
}

const SDL_Color WHITE = {255, 255, 255, 255};

SDL_Color colourOfSign(int sign)
{
    int group = GUI.signs[sign].group;
    return signColour(group, sign - signNumberTransfer[group][1] + 1);
}

TEST(Loading, NumbersSignsGroupByGroupAndFillsTheGroupTable)
{
    const int firstSign[GROUPS] = {1, 31, 40, 57, 72, 86};
    for (int g = 0; g < GROUPS; g++) {
        for (int k = 1; k <= GROUP_CAPACITY; k++) {
            int expected =
                k <= signNumberTransfer[g][0] ? firstSign[g] + k - 1 : 0;
            ASSERT_EQ(signNumberTransfer[g][k], expected)
                << "group " << g << " k " << k;
            if (expected == 0)
                continue;
            const SignPicture &picture = GUI.signs[expected];
            EXPECT_EQ(picture.group, g);
            EXPECT_NE(picture.texture, nullptr);
            EXPECT_EQ(picture.rect.w, SIGN_W);
            EXPECT_EQ(picture.rect.h, SIGN_H);
        }
    }
    EXPECT_EQ(signNumberTransfer[5][19], 104);
    EXPECT_EQ(GUI.signs[0].texture, nullptr);
    EXPECT_EQ(GUI.signs[0].rect.w, 0);
    EXPECT_EQ(GUI.welcome.rect.w, 600);
    EXPECT_EQ(GUI.namesGroup.rect.h, 180);
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

TEST_F(PlayScreen, DrawsEveryPictureCentredInItsCell)
{
    renderingGameField();
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++) {
            SDL_Color expected = colourOfSign(gameField[r][c]);
            int cx = rowsWidth[c], cy = rowsHeights[r];
            EXPECT_EQ(pixel(cx - SIGN_W / 2, cy + 50), expected)
                << r << "," << c;
            EXPECT_EQ(pixel(cx + SIGN_W / 2 - 1, cy - 30), expected);
            EXPECT_EQ(pixel(cx - SIGN_W / 2 - 1, cy), WHITE);
            EXPECT_EQ(pixel(cx + SIGN_W / 2, cy), WHITE);
        }
    EXPECT_EQ(pixel(1279, 719), WHITE);
}

// The label strip is 300 wide, so labels span x 490..789 and cover the
// columns centred on 497, 639 and 781, but not column 0.
TEST_F(PlayScreen, LabelsLieOverTallPicturesAndNameTheirRowsGroup)
{
    renderingGameField();
    for (int r = 0; r < ROWS; r++) {
        int top = CELL_HEIGHT * r;
        EXPECT_EQ(pixel(639, top + 41), labelColour(category[r]))
            << "row " << r;
        EXPECT_EQ(pixel(490, top + 13), labelColour(category[r]));
        EXPECT_EQ(pixel(789, top + 42), labelColour(category[r]));
        EXPECT_EQ(pixel(489, top + 20), WHITE);
        EXPECT_EQ(pixel(639, top + 43), colourOfSign(gameField[r][4]));
        EXPECT_EQ(pixel(71, top + 41), colourOfSign(gameField[r][0]));
    }
}

TEST_F(PlayScreen, CarriedPictureLiesOverEverythingAndLeavesItsCellEmpty)
{
    const int sign = gameField[0][4];
    ASSERT_EQ(takeSingOnGameField(639, 120), 1);
    TS_korX = 639 + 142; // over the neighbouring picture and the label
    TS_korY = 120 - 60;
    renderingGameField();
    EXPECT_EQ(pixel(639, 120), WHITE);
    EXPECT_EQ(pixel(781, 30), colourOfSign(sign));
    EXPECT_EQ(pixel(781, 100), colourOfSign(sign));
    EXPECT_EQ(pixel(639, 30), labelColour(category[0]));
    putSingOnGameField(639, 120);
}

TEST_F(PlayScreen, MissingTextureLeavesAGapButKeepsItsHitArea)
{
    const int sign = gameField[1][0];
    SDL_Texture *texture = GUI.signs[sign].texture;
    GUI.signs[sign].texture = NULL;
    renderingGameField();
    EXPECT_EQ(pixel(71, 360), WHITE);
    EXPECT_EQ(takeSingOnGameField(71, 360), 1);
    putSingOnGameField(71, 360);
    GUI.signs[sign].texture = texture;
}

TEST(EventFilter, KeepsOnlyWhatTheScreensHandle)
{
    struct {
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
        SDL_Event event = {};
        event.type = row.type;
        event.key.keysym.sym = row.key;
        EXPECT_EQ(EventFilter(NULL, &event), row.kept) << "type " << row.type;
    }
}

} // namespace
