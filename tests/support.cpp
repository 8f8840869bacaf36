#include "support.h"

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

std::string enterPictureSet(int signWidth, int signHeight)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    std::string dir = std::filesystem::temp_directory_path() / "zorvane-XXXXXX";
    const std::string make = E2E_DRIVER " --make-set . " +
                             std::to_string(signWidth) + "x" +
                             std::to_string(signHeight);
    if (mkdtemp(&dir[0]) == NULL || chdir(dir.c_str()) != 0 ||
        system(make.c_str()) != 0)
        abort();
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
    for (int g = 0, sign = 0; g < GROUPS; g++)
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
    SDL_Event event = {type};
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
    } else {
        event.button = {type, 0, 0, 0, button, 0, 0, 0, x, y};
    }
    return event;
}

SDL_Event keyEvent(SDL_Keycode sym)
{
    SDL_Event event = {SDL_KEYDOWN};
    event.key.keysym.sym = sym;
    return event;
}

Uint32 pixelAt(int x, int y)
{
    Uint32 pixel = 0;
    SDL_Rect one = {x, y, 1, 1};
    SDL_RenderReadPixels(ren, &one, SDL_PIXELFORMAT_RGBA8888, &pixel, 4);
    return pixel;
}

ChildResult runInChild(const std::function<void()> &body)
{
    int ends[2];
    if (pipe(ends) != 0)
        abort();
    fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(ends[1], STDOUT_FILENO);
        alarm(20);
        body();
        _exit(255); // the body should have ended the process
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
