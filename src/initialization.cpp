// Start-up: graphics set-up, the quit filter, seeding, and picture loading.
#include "zorvane.h"

#include <SDL_image.h>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>

// Picture paths are relative to the working directory; Windows builds spell
// them with backslashes.
#ifdef _WIN32
#define SEPARATOR "\\"
#else
#define SEPARATOR "/"
#endif
#define RESOURCES "resources" SEPARATOR

enum { PATH_SIZE = 64 };

SDL_Window *win;
SDL_Renderer *ren;
PictureCatalogue GUI;

// Reports a failure the one way this program does: the message with SDL's
// error text on standard output, no newline, then the status. The flush makes
// sure the message survives whatever the exit handlers of the graphics
// libraries do.
[[noreturn]] static void fail(const char *format, int status)
{
    printf(format, SDL_GetError());
    fflush(stdout);
    exit(status);
}

// With no display at all, SDL falls back to its offscreen driver, where the
// game would wait for ever in a window nobody can see or reach. That driver
// counts only when it is asked for by name; SDL treats an empty name as none.
static bool startVideo()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return false;
    const char *named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "offscreen") == 0 &&
        (named == NULL || *named == '\0')) {
        SDL_SetError("No available video device");
        return false;
    }
    return true;
}

void initializationGrafic()
{
    // A locale name the Windows C runtime knows; elsewhere the call fails
    // harmlessly and nothing depends on it.
    setlocale(LC_ALL, "Rus");

    if (!startVideo())
        fail("SDL_Init Error: %s", EXIT_SETUP_FAILED);
    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0)
        fail("IMG_Init Error: %s", EXIT_SETUP_FAILED);

    win = SDL_CreateWindow("Zorvane", SDL_WINDOWPOS_CENTERED,
                           SDL_WINDOWPOS_CENTERED, WINDOW_WIDTH, WINDOW_HEIGHT,
                           0);
    if (win == NULL)
        fail("SDL_CreateWindow Error: %s", EXIT_SETUP_FAILED);

    ren = SDL_CreateRenderer(win, -1, SDL_RENDERER_ACCELERATED);
    if (ren == NULL)
        fail("SDL_CreateRenderer Error: %s", EXIT_SETUP_FAILED);

    SDL_SetRenderDrawColor(ren, 255, 255, 255, 255);
}

// Quitting lives here alone: a close request or Escape ends the run from
// wherever the program is waiting. Everything the screens do not handle is
// dropped, so a window expose, for instance, causes no redraw.
int EventFilter(void *userdata, SDL_Event *event)
{
    (void)userdata;
    switch (event->type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
        return 1;
    case SDL_QUIT:
        break;
    case SDL_KEYDOWN:
        if (event->key.keysym.sym != SDLK_ESCAPE)
            return 1;
        break;
    default:
        return 0;
    }
    SDL_Quit();
    exit(EXIT_QUIT);
}

void initializationEventFilter()
{
    SDL_SetEventFilter(EventFilter, NULL);
}

void initializationRandomaizer()
{
    srand((unsigned)time(NULL));
}

// Decodes one picture into a texture of the renderer. Only one decoded
// picture is held at a time: its surface is freed as soon as the texture
// exists. A failed texture creation is not fatal; the picture then simply
// does not show.
static void loadPicture(const char *path, SDL_Texture **texture, SDL_Rect *rect)
{
    SDL_Surface *surface = IMG_Load(path);
    if (surface == NULL)
        fail("IMG_Load Error: %s", EXIT_PICTURE_FAILED);
    *texture = SDL_CreateTextureFromSurface(ren, surface);
    *rect = SDL_Rect{0, 0, surface->w, surface->h};
    SDL_FreeSurface(surface);
}

static void loadScreenPicture(const char *path, ScreenPicture *picture)
{
    loadPicture(path, &picture->texture, &picture->rect);
}

// Sign numbers are handed out from 1 in loading order: groups 0 to 5, each
// group's files (1).png to (count).png, which keeps every group's numbers in
// one contiguous run.
void initializationTexteres()
{
    int sign = 0;
    for (int group = 0; group < GROUPS; group++) {
        for (int k = 1; k <= signNumberTransfer[group][0]; k++) {
            char path[PATH_SIZE];
            snprintf(path, sizeof path,
                     RESOURCES "sings" SEPARATOR "%d" SEPARATOR "(%d).png",
                     group + 1, k);
            sign++;
            SignPicture *picture = &GUI.signs[sign];
            loadPicture(path, &picture->texture, &picture->rect);
            picture->group = group;
            signNumberTransfer[group][k] = sign;
        }
    }
    loadScreenPicture(RESOURCES "welcome.png", &GUI.welcome);
    loadScreenPicture(RESOURCES "namesGroup.png", &GUI.namesGroup);
    loadScreenPicture(RESOURCES "felicitation.png", &GUI.felicitation);
}
