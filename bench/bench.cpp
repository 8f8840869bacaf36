// The in-process figures, with Google Benchmark, in a window on the X display
// (SDL's GL renderer, as on a player's desktop). Each step of the game runs
// against a same-work floor, plain SDL calls doing the same job with no game
// code, and a bare floor, the least any game could do. Every run starts from
// the same board, dealt from a fixed seed, with a picture carried. Run in the
// directory that holds resources/.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

#include "sameWork.h"
#include "zorvane.h"

using benchmark::State;

namespace {

struct Copy {
    SDL_Texture *texture;
    SDL_Rect source, target;
};
std::vector<Copy> copies;
bool dragging;
std::minstd_rand randomNumbers;
const std::vector<std::string> paths = picturePaths();

// The copies a redraw while carrying needs, from the board alone: each
// cell's picture centred in it, each row's label band, the carried picture.
void planCopies()
{
    copies.clear();
    auto centred = [](int sign, int x, int y) {
        SDL_Rect r = GUI.signs[sign].rect;
        copies.push_back(
            {GUI.signs[sign].texture, r, {x - r.w / 2, y - r.h / 2, r.w, r.h}});
    };
    for (int cell = 0; cell < ROWS * COLUMNS; cell++)
        if (int sign = gameField[cell / COLUMNS][cell % COLUMNS])
            centred(sign, rowsWidth[cell % COLUMNS],
                    rowsHeights[cell / COLUMNS]);
    SDL_Rect s = GUI.namesGroup.rect;
    for (int r = 0; r < ROWS; r++)
        copies.push_back({GUI.namesGroup.texture,
                          {0, LABEL_HEIGHT * category[r], s.w, LABEL_HEIGHT},
                          {WINDOW_WIDTH / 2 - s.w / 2,
                           LABEL_TOP + CELL_HEIGHT * r, s.w, LABEL_HEIGHT}});
    centred(takenSign, TS_korX, TS_korY);
}

// The board with the middle row's fifth picture carried.
void carry()
{
    srand(1);
    FillGameField();
    dragging = takeSingOnGameField(rowsWidth[4], rowsHeights[1]);
    planCopies();
}

void draw(const std::vector<Copy> &pictures)
{
    SDL_RenderClear(ren);
    for (const Copy &c : pictures)
        SDL_RenderCopy(ren, c.texture, &c.source, &c.target);
    SDL_RenderPresent(ren);
}

// A motion event through SDL's queue and the game's event filter, taken as
// the play loop takes it.
SDL_Event nextMotion(State &state)
{
    SDL_Event event = {SDL_MOUSEMOTION};
    event.motion.x = 100 + int(state.iterations() % 1000);
    event.motion.y = 300;
    SDL_PushEvent(&event);
    SDL_WaitEvent(&event);
    return event;
}

template <class Body> void add(const char *name, Body body)
{
    benchmark::RegisterBenchmark(name, [body](State &state) {
        carry();
        for (auto _ : state)
            body(state);
    })->UseRealTime();
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    initializationGrafic();
    initializationEventFilter();
    initializationTexteres();
    // Loading, the textures of the run before destroyed first.
    add("loading_game", [](State &) {
        for (int s = 1; s <= SIGNS; s++)
            SDL_DestroyTexture(GUI.signs[s].texture);
        for (auto *p : {&GUI.welcome, &GUI.namesGroup, &GUI.felicitation})
            SDL_DestroyTexture(p->texture);
        initializationTexteres();
    });
    add("loading_sameWorkFloor", [](State &) {
        static std::vector<SDL_Texture *> textures;
        std::for_each(textures.begin(), textures.end(), SDL_DestroyTexture);
        textures = loadPictures(ren, paths);
    });
    add("loading_bareFloor", [](State &) { loadPictures(nullptr, paths); });
    add("redraw_game", [](State &) { renderingGameField(); });
    add("redraw_sameWorkFloor", [](State &) { draw(copies); });
    add("redraw_bareFloor", [](State &) { draw({}); });
    add("event_game", [](State &state) {
        SDL_Event event = nextMotion(state);
        dragAndDrop(&event, &dragging, nullptr, nullptr);
        renderingGameField();
    });
    add("event_sameWorkFloor", [](State &state) {
        SDL_Rect &carried = copies.back().target;
        carried.x = nextMotion(state).motion.x - carried.w / 2;
        draw(copies);
    });
    add("event_bareFloor", [](State &state) {
        nextMotion(state);
        draw({});
    });
    add("deal_game", [](State &) { FillGameField(); });
    // Three groups out of six, nine signs out of each, shuffled over the board.
    add("deal_sameWorkFloor", [](State &) {
        int groups[GROUPS] = {0, 1, 2, 3, 4, 5}, *board = gameField[0];
        std::shuffle(groups, groups + GROUPS, randomNumbers);
        for (int r = 0; r < ROWS; r++) {
            const int *group = signNumberTransfer[groups[r]];
            std::sample(group + 1, group + 1 + group[0], board + COLUMNS * r,
                        int(COLUMNS), randomNumbers);
        }
        std::shuffle(board, board + ROWS * COLUMNS, randomNumbers);
    });
    // One random sign a cell.
    add("deal_bareFloor", [](State &) {
        std::generate_n(gameField[0], ROWS * COLUMNS,
                        [] { return int(randomNumbers() % SIGNS) + 1; });
    });
    add("hitTest_game", [](State &) {
        benchmark::DoNotOptimize(takeSingOnGameField(360, 365));
        gameField[1][2] = takenSign;
    });
    // The press's cell, and whether the press lies in that cell's picture.
    add("hitTest_sameWorkFloor", [](State &) {
        SDL_Point press = {360, 365};
        benchmark::DoNotOptimize(press);
        int c = press.x / CELL_WIDTH, r = press.y / CELL_HEIGHT;
        SDL_Rect s = GUI.signs[gameField[r][c]].rect;
        s = {rowsWidth[c] - s.w / 2, rowsHeights[r] - s.h / 2, s.w, s.h};
        benchmark::DoNotOptimize(SDL_PointInRect(&press, &s));
    });
    // The sign in the press's cell.
    add("hitTest_bareFloor",
        [](State &) { benchmark::DoNotOptimize(gameField[1][2]); });
    benchmark::RunSpecifiedBenchmarks();
}
