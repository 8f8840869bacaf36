// The sorting game: board state, dealing, drawing, drag and drop, the win
// test, and the main loop. Dealing, the hit test, the exchange and the sorted
// test only read and write the board; SDL appears in drawing and the loop.
#include "zorvane.h"

#include <cstdlib>

int signNumberTransfer[GROUPS][GROUP_CAPACITY + 1] = {
    {30}, {9}, {17}, {15}, {14}, {19},
};

int gameField[ROWS][COLUMNS];
int category[ROWS];
int takenSign;
int empteSlotX, empteSlotY;
int TS_korX, TS_korY;
int aX, aY;

const int rowsHeights[ROWS] = {120, 360, 600};
const int rowsWidth[COLUMNS] = {71, 213, 355, 497, 639, 781, 923, 1065, 1207};

enum { SCRAMBLE_SWAPS = 1000 };

static bool groupAlreadyChosen(int row, int group)
{
    for (int r = 0; r < row; r++)
        if (category[r] == group)
            return true;
    return false;
}

static bool signAlreadyInRow(int row, int column, int sign)
{
    for (int c = 0; c < column; c++)
        if (gameField[row][c] == sign)
            return true;
    return false;
}

static void swapCells(int row1, int column1, int row2, int column2)
{
    int sign = gameField[row1][column1];
    gameField[row1][column1] = gameField[row2][column2];
    gameField[row2][column2] = sign;
}

// Every call of rand() here is part of the deal: the same seed must give the
// same board, so the order of the draws is fixed.
void FillGameField()
{
    for (int r = 0; r < ROWS; r++) {
        do
            category[r] = rand() % GROUPS;
        while (groupAlreadyChosen(r, category[r]));
    }
    for (int r = 0; r < ROWS; r++) {
        const int *group = signNumberTransfer[category[r]];
        for (int c = 0; c < COLUMNS; c++) {
            do
                gameField[r][c] = group[rand() % group[0] + 1];
            while (signAlreadyInRow(r, c, gameField[r][c]));
        }
    }
    for (int i = 0; i < SCRAMBLE_SWAPS; i++) {
        int c1 = rand() % COLUMNS;
        int r1 = rand() % ROWS;
        int c2 = rand() % COLUMNS;
        int r2 = rand() % ROWS;
        swapCells(r1, c1, r2, c2);
    }
}

// The cell under a window point. The division truncates toward zero, so a
// point slightly left of or above the window still counts as column or row
// 0; the two rightmost pixel columns and anything further out lie in no cell.
static bool cellAt(int x, int y, int *column, int *row)
{
    *column = x / CELL_WIDTH;
    *row = y / CELL_HEIGHT;
    return *column >= 0 && *column < COLUMNS && *row >= 0 && *row < ROWS;
}

// A press picks a picture up only inside the picture itself, edges excluded;
// the blank margin of a cell picks nothing up.
int takeSingOnGameField(int x, int y)
{
    int c, r;
    if (!cellAt(x, y, &c, &r))
        return 0;
    int sign = gameField[r][c];
    int halfWidth = GUI.signs[sign].rect.w / 2;
    int halfHeight = GUI.signs[sign].rect.h / 2;
    int cx = rowsWidth[c];
    int cy = rowsHeights[r];
    if (!(cx - halfWidth < x && x < cx + halfWidth && cy - halfHeight < y &&
          y < cy + halfHeight))
        return 0;

    empteSlotX = c;
    empteSlotY = r;
    gameField[r][c] = 0;
    takenSign = sign;
    TS_korX = cx;
    TS_korY = cy;
    aX = cx - x;
    aY = cy - y;
    return 1;
}

// Drops the carried picture on the cell under the pointer, exchanging it
// with that cell's picture. A release that lies in no cell (SDL reports such
// positions while a button is held) puts the picture back where it came from.
void putSingOnGameField(int x, int y)
{
    int c, r;
    if (!cellAt(x, y, &c, &r)) {
        c = empteSlotX;
        r = empteSlotY;
    }
    gameField[empteSlotY][empteSlotX] = gameField[r][c];
    gameField[r][c] = takenSign;
    takenSign = 0;
}

bool gameFieldSorted()
{
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            if (GUI.signs[gameField[r][c]].group != category[r])
                return false;
    return true;
}

// The play loop's mouse handling: a press picks up, motion carries, a release
// drops. Any button does. Returns true when a picture was dropped, the moment
// the board must be tested.
bool dragAndDrop(const SDL_Event *event, bool *dragging, SDL_Cursor *handCursor,
                 SDL_Cursor *arrowCursor)
{
    if (!*dragging) {
        if (event->type == SDL_MOUSEBUTTONDOWN &&
            takeSingOnGameField(event->button.x, event->button.y)) {
            *dragging = true;
            SDL_SetCursor(handCursor);
        }
        return false;
    }
    if (event->type == SDL_MOUSEMOTION) {
        TS_korX = event->motion.x + aX;
        TS_korY = event->motion.y + aY;
    } else if (event->type == SDL_MOUSEBUTTONUP) {
        putSingOnGameField(event->button.x, event->button.y);
        *dragging = false;
        SDL_SetCursor(arrowCursor);
        return true;
    }
    return false;
}

void centeredRender(int sign, int x, int y)
{
    const SignPicture *picture = &GUI.signs[sign];
    SDL_Rect target = {x - picture->rect.w / 2, y - picture->rect.h / 2,
                       picture->rect.w, picture->rect.h};
    SDL_RenderCopy(ren, picture->texture, NULL, &target);
}

static void drawRowLabel(int row)
{
    int width = GUI.namesGroup.rect.w;
    SDL_Rect source = {0, LABEL_HEIGHT * category[row], width, LABEL_HEIGHT};
    SDL_Rect target = {WINDOW_WIDTH / 2 - width / 2,
                       LABEL_TOP + CELL_HEIGHT * row, width, LABEL_HEIGHT};
    SDL_RenderCopy(ren, GUI.namesGroup.texture, &source, &target);
}

// Drawn whole every time, back to front: pictures, then the row labels over
// them, then the carried picture over everything.
void renderingGameField()
{
    SDL_RenderClear(ren);
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            if (gameField[r][c] != 0)
                centeredRender(gameField[r][c], rowsWidth[c], rowsHeights[r]);
    for (int r = 0; r < ROWS; r++)
        drawRowLabel(r);
    if (takenSign != 0)
        centeredRender(takenSign, TS_korX, TS_korY);
    SDL_RenderPresent(ren);
}

// Shows a full-screen picture centred on a white window.
static void showScreenPicture(const ScreenPicture *picture)
{
    SDL_Rect target = {WINDOW_WIDTH / 2 - picture->rect.w / 2,
                       WINDOW_HEIGHT / 2 - picture->rect.h / 2, picture->rect.w,
                       picture->rect.h};
    SDL_RenderClear(ren);
    SDL_RenderCopy(ren, picture->texture, NULL, &target);
    SDL_RenderPresent(ren);
}

// Once every row is sorted the game is over: the congratulation picture
// stays until a key or a button is pressed.
void testGameField()
{
    if (!gameFieldSorted())
        return;
    showScreenPicture(&GUI.felicitation);
    SDL_Event event;
    do
        SDL_WaitEvent(&event);
    while (event.type != SDL_KEYDOWN && event.type != SDL_MOUSEBUTTONDOWN);
    exit(EXIT_WON);
}

static void waitForSpace()
{
    SDL_Event event;
    do
        SDL_WaitEvent(&event);
    while (event.type != SDL_KEYDOWN || event.key.keysym.sym != SDLK_SPACE);
}

// The only main loop: the welcome picture until Space, then one redraw of
// the play screen after every event. Quitting happens in the event filter
// and winning in testGameField, so this never returns.
void startGame()
{
    SDL_Cursor *handCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    SDL_Cursor *arrowCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    bool dragging = false;

    showScreenPicture(&GUI.welcome);
    waitForSpace();
    renderingGameField();
    for (;;) {
        SDL_Event event = {};
        SDL_WaitEvent(&event);
        if (dragAndDrop(&event, &dragging, handCursor, arrowCursor))
            testGameField();
        renderingGameField();
    }
}
