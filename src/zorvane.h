// Declarations shared by the start-up code (initialization.cpp) and the
// sorting game (baseFunction.cpp): the picture catalogue, the board, and the
// functions each side calls on the other.
#pragma once

#include <SDL.h>

// Window and board geometry, in window pixels.
enum {
    WINDOW_WIDTH = 1280,
    WINDOW_HEIGHT = 720,
    ROWS = 3,
    COLUMNS = 9,
    CELL_WIDTH = 142,
    CELL_HEIGHT = 240,
    LABEL_HEIGHT = 30,
    LABEL_TOP = 13,
};

// Sign groups. A sign number is an index into GUI.signs; 0 means "no sign".
enum {
    GROUPS = 6,
    SIGNS = 104,
    GROUP_CAPACITY = 34,
};

// Exit statuses.
enum {
    EXIT_WON = 0,
    EXIT_SETUP_FAILED = 1,
    EXIT_PICTURE_FAILED = 2,
    EXIT_QUIT = 100,
};

struct SignPicture {
    SDL_Texture *texture;
    SDL_Rect rect;
    int group;
};

struct ScreenPicture {
    SDL_Texture *texture;
    SDL_Rect rect;
};

struct PictureCatalogue {
    SignPicture signs[SIGNS + 1];
    ScreenPicture welcome;
    ScreenPicture namesGroup;
    ScreenPicture felicitation;
};

// initialization.cpp
extern SDL_Window *win;
extern SDL_Renderer *ren;
extern PictureCatalogue GUI;

void initializationGrafic();
void initializationEventFilter();
int EventFilter(void *userdata, SDL_Event *event);
void initializationRandomaizer();
void initializationTexteres();

// baseFunction.cpp
// signNumberTransfer[g][0] is group g's picture count; columns 1.. hold its
// sign numbers once the pictures are loaded.
extern int signNumberTransfer[GROUPS][GROUP_CAPACITY + 1];
extern int gameField[ROWS][COLUMNS];
extern int category[ROWS];
extern int takenSign;
extern int empteSlotX, empteSlotY;
extern int TS_korX, TS_korY;
extern int aX, aY;
extern const int rowsHeights[ROWS];
extern const int rowsWidth[COLUMNS];

void FillGameField();
int takeSingOnGameField(int x, int y);
void putSingOnGameField(int x, int y);
bool gameFieldSorted();
bool dragAndDrop(const SDL_Event *event, bool *dragging, SDL_Cursor *handCursor,
                 SDL_Cursor *arrowCursor);
void centeredRender(int sign, int x, int y);
void renderingGameField();
void testGameField();
void startGame();
