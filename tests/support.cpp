#include "support.h"

#include <SDL_image.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

const SDL_Color WHITE = {255, 255, 255, 255};
const SDL_Color WELCOME_COLOUR = {20, 120, 40, 255};
const SDL_Color FELICITATION_COLOUR = {200, 160, 0, 255};

SDL_Color signColour(int group, int k)
{
    return SDL_Color{Uint8(30 + 35 * group), Uint8(7 * k), 200, 255};
}

SDL_Color labelColour(int group)
{
    return SDL_Color{Uint8(40 * group), 60, 90, 255};
}

bool operator==(SDL_Color a, SDL_Color b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

std::ostream &operator<<(std::ostream &out, SDL_Color c)
{
    return out << int(c.r) << "," << int(c.g) << "," << int(c.b) << ","
               << int(c.a);
}

std::string signPath(int group, int k)
{
    return "resources/sings/" + std::to_string(group + 1) + "/(" +
           std::to_string(k) + ").png";
}

// Bands 30 pixels high in the given colours, the last filling the rest.
static void writeBands(const std::string &path, int width, int height,
                       const std::vector<SDL_Color> &colours)
{
    SDL_Surface *surface = SDL_CreateRGBSurfaceWithFormat(
        0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    for (size_t i = 0; i < colours.size(); i++) {
        const SDL_Color c = colours[i];
        SDL_Rect band = {0, LABEL_HEIGHT * int(i), width, height};
        SDL_FillRect(surface, &band,
                     SDL_MapRGBA(surface->format, c.r, c.g, c.b, c.a));
    }
    if (IMG_SavePNG(surface, path.c_str()) != 0)
        abort();
    SDL_FreeSurface(surface);
}

void writePicture(const std::string &path, int width, int height,
                  SDL_Color colour)
{
    writeBands(path, width, height, {colour});
}

static void writePictureSet(int signWidth, int signHeight)
{
    for (int g = 0; g < GROUPS; g++) {
        std::filesystem::create_directories("resources/sings/" +
                                            std::to_string(g + 1));
        for (int k = 1; k <= signNumberTransfer[g][0]; k++)
            writePicture(signPath(g, k), signWidth, signHeight,
                         signColour(g, k));
    }
    writePicture("resources/welcome.png", 600, 300, WELCOME_COLOUR);
    writePicture("resources/felicitation.png", 600, 300, FELICITATION_COLOUR);
    std::vector<SDL_Color> labels;
    for (int g = 0; g < GROUPS; g++)
        labels.push_back(labelColour(g));
    writeBands("resources/namesGroup.png", 300, LABEL_HEIGHT * GROUPS, labels);
}

std::string enterPictureSet(int signWidth, int signHeight)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    const char *base = getenv("TMPDIR");
    std::string dir = std::string(base ? base : "/tmp") + "/zorvane-XXXXXX";
    if (mkdtemp(&dir[0]) == NULL || chdir(dir.c_str()) != 0)
        abort();
    writePictureSet(signWidth, signHeight);
    return dir;
}

void leavePictureSet(const std::string &dir)
{
    (void)!chdir("/");
    std::filesystem::remove_all(dir);
}

void numberCatalogue(const std::function<SDL_Rect()> &size)
{
    memset(&GUI, 0, sizeof GUI);
    int sign = 0;
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++) {
            GUI.signs[++sign] = SignPicture{NULL, size(), g};
            signNumberTransfer[g][k] = sign;
        }
}

void sortBoard()
{
    for (int r = 0; r < ROWS; r++)
        for (int c = 0; c < COLUMNS; c++)
            gameField[r][c] = signNumberTransfer[category[r]][c + 1];
}

SDL_Event mouseEvent(Uint32 type, int x, int y, Uint8 button)
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

SDL_Event keyEvent(SDL_Keycode sym)
{
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    return event;
}

SDL_Color pixelAt(int x, int y)
{
    SDL_Color c = {};
    SDL_Rect one = {x, y, 1, 1};
    SDL_RenderReadPixels(ren, &one, SDL_PIXELFORMAT_RGBA32, &c, 4);
    return c;
}

ChildResult runInChild(const std::function<void()> &body)
{
    int ends[2];
    if (pipe(ends) != 0)
        abort();
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        dup2(ends[1], STDOUT_FILENO);
        alarm(20);
        body();
        fflush(stdout);
        _exit(255); // the body should have ended the process; the game never
                    // uses 255
    }
    close(ends[1]);
    ChildResult result{-1, ""};
    char buffer[256];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, size_t(n));
    close(ends[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}
