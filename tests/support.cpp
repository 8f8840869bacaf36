#include "support.h"

#include <SDL_image.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

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
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

std::ostream &operator<<(std::ostream &out, SDL_Color c)
{
    return out << int(c.r) << "," << int(c.g) << "," << int(c.b) << ","
               << int(c.a);
}

std::string signPath(const std::string &dir, int group, int k)
{
    return dir + "/resources/sings/" + std::to_string(group + 1) + "/(" +
           std::to_string(k) + ").png";
}

static void savePng(SDL_Surface *surface, const std::string &path)
{
    if (IMG_SavePNG(surface, path.c_str()) != 0) {
        fprintf(stderr, "cannot write %s: %s\n", path.c_str(), SDL_GetError());
        abort();
    }
    SDL_FreeSurface(surface);
}

void writePicture(const std::string &path, int width, int height,
                  SDL_Color colour)
{
    SDL_Surface *surface = SDL_CreateRGBSurfaceWithFormat(
        0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(
        surface, NULL,
        SDL_MapRGBA(surface->format, colour.r, colour.g, colour.b, colour.a));
    savePng(surface, path);
}

static void writeLabelStrip(const std::string &path)
{
    SDL_Surface *surface = SDL_CreateRGBSurfaceWithFormat(
        0, 300, LABEL_HEIGHT * GROUPS, 32, SDL_PIXELFORMAT_RGBA32);
    for (int g = 0; g < GROUPS; g++) {
        SDL_Rect band = {0, LABEL_HEIGHT * g, 300, LABEL_HEIGHT};
        SDL_Color c = labelColour(g);
        SDL_FillRect(surface, &band,
                     SDL_MapRGBA(surface->format, c.r, c.g, c.b, c.a));
    }
    savePng(surface, path);
}

void writePictureSet(const std::string &dir, int signWidth, int signHeight)
{
    std::string resources = dir + "/resources";
    for (int g = 0; g < GROUPS; g++)
        std::filesystem::create_directories(resources + "/sings/" +
                                            std::to_string(g + 1));
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++)
            writePicture(signPath(dir, g, k), signWidth, signHeight,
                         signColour(g, k));
    writePicture(resources + "/welcome.png", 600, 300, WELCOME_COLOUR);
    writePicture(resources + "/felicitation.png", 600, 300,
                 FELICITATION_COLOUR);
    writeLabelStrip(resources + "/namesGroup.png");
}

void useHeadlessVideo()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
}

std::string makeTempDir()
{
    const char *base = getenv("TMPDIR");
    std::string pattern =
        std::string(base ? base : "/tmp") + "/zorvane-test-XXXXXX";
    if (mkdtemp(&pattern[0]) == NULL)
        abort();
    return pattern;
}

ChildResult runInChild(const std::function<void()> &body)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        abort();
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        body();
        fflush(stdout);
        _exit(255); // the body should have ended the process; the game never
                    // uses 255
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return ChildResult{WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}
