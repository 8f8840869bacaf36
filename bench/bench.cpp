// Zorvane's benchmarks. Every figure is the game's against a floor measured
// in the same run, the two alternating, with medians, minima and maxima.
// Times come from CLOCK_MONOTONIC; nothing here is a pass/fail test.
//
//   zorvane_bench info
//   zorvane_bench startup PROBE FLOOR RUNS
//   zorvane_bench inprocess RUNS FRAMES
//   zorvane_bench idle GAME FLOOR RUNS SECONDS
//   zorvane_bench settle PID      waits until the process has gone idle
//   zorvane_bench pictures        count, total and largest decoded size
//   zorvane_bench sdlheap         SDL's own heap (where pictures are decoded)
//                                 during initializationTexteres
//
// Run in the directory that holds resources/, on an X display. Each command
// prints Markdown table rows:
//   | figure | game | floor | ratio | target |
#include <SDL_image.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "presented.h"
#include "zorvane.h"

extern char **environ;

namespace {

[[noreturn]] void die(const char *what)
{
    fprintf(stderr, "zorvane_bench: %s\n", what);
    exit(1);
}

struct Summary {
    double median, min, max;
};

Summary summarise(std::vector<double> v)
{
    if (v.empty())
        return {0, 0, 0};
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

std::string format(double x)
{
    char text[32];
    if (x == 0)
        snprintf(text, sizeof text, "0");
    else if (x >= 100)
        snprintf(text, sizeof text, "%.0f", x);
    else if (x >= 10)
        snprintf(text, sizeof text, "%.1f", x);
    else
        snprintf(text, sizeof text, "%.3g", x);
    return text;
}

std::string describe(const std::vector<double> &v)
{
    Summary s = summarise(v);
    return format(s.median) + " (" + format(s.min) + "–" + format(s.max) + ")";
}

// One table row. The ratio is the game's median over the floor's median; the
// range after it is that of the ratios of the runs paired by the alternation.
void row(const std::string &figure, const std::vector<double> &game,
         const std::vector<double> &floor, const std::string &target)
{
    std::string ratio = "–";
    if (!floor.empty()) {
        double g = summarise(game).median, f = summarise(floor).median;
        std::vector<double> pairs;
        for (size_t i = 0; i < game.size() && i < floor.size(); i++)
            if (floor[i] != 0)
                pairs.push_back(game[i] / floor[i]);
        Summary p = summarise(pairs);
        ratio = f == 0 ? "–"
                       : format(g / f) + " (" + format(p.min) + "–" +
                             format(p.max) + ")";
    }
    printf("| %s | %s | %s | %s | %s |\n", figure.c_str(),
           describe(game).c_str(),
           floor.empty() ? "–" : describe(floor).c_str(), ratio.c_str(),
           target.c_str());
    fflush(stdout);
}

double msSince(long long start)
{
    return (monotonicNs() - start) / 1e6;
}

// ---------------------------------------------------------------- processes

struct Child {
    pid_t pid;
    FILE *out; // the child's standard output
};

Child spawn(const std::vector<std::string> &argv)
{
    int ends[2];
    if (pipe(ends) != 0)
        die("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) !=
        0)
        die(("cannot start " + argv[0]).c_str());
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    return Child{pid, fdopen(ends[0], "r")};
}

int finish(Child &child)
{
    int status = 0;
    fclose(child.out);
    waitpid(child.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Process start to presented, in ms: the child writes the time of its
// present, taken after the X server has handled it.
double timeToPresent(const std::string &program,
                     const std::vector<std::string> &args)
{
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    long long start = monotonicNs();
    Child child = spawn(argv);
    long long presented = 0;
    if (fscanf(child.out, "%lld", &presented) != 1)
        die(("no time from " + program).c_str());
    if (finish(child) != 0)
        die((program + " failed").c_str());
    return (presented - start) / 1e6;
}

// utime + stime of a process, in clock ticks, and its state letter.
bool readStat(pid_t pid, long long *ticks, char *state)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
    FILE *f = fopen(path, "r");
    if (!f)
        return false;
    char text[1024];
    size_t n = fread(text, 1, sizeof text - 1, f);
    fclose(f);
    text[n] = 0;
    const char *p = strrchr(text, ')'); // the name may hold spaces
    if (!p)
        return false;
    char s;
    unsigned long long utime, stime;
    // fields 3 .. 15: state ppid pgrp session tty tpgid flags minflt cminflt
    // majflt cmajflt utime stime
    if (sscanf(p + 2, "%c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
               &s, &utime, &stime) != 3)
        return false;
    *ticks = (long long)(utime + stime);
    if (state)
        *state = s;
    return true;
}

long long cpuTicks(pid_t pid)
{
    long long t;
    if (!readStat(pid, &t, nullptr))
        die("cannot read /proc/PID/stat");
    return t;
}

// Waits until the process sleeps and has used no CPU for a whole second.
void waitUntilSettled(pid_t pid)
{
    long long last = -1;
    int quiet = 0;
    for (int i = 0; i < 600; i++) {
        long long t;
        char state;
        if (!readStat(pid, &t, &state))
            die("the program ended before it settled");
        quiet = (t == last && state == 'S') ? quiet + 1 : 0;
        if (quiet >= 10)
            return;
        last = t;
        usleep(100000);
    }
    die("the program did not settle within 60 s");
}

double cpuMsOver(pid_t pid, int seconds)
{
    long long before = cpuTicks(pid);
    sleep(unsigned(seconds));
    long long after = cpuTicks(pid);
    return (after - before) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double peakRssMb(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", int(pid));
    FILE *f = fopen(path, "r");
    if (!f)
        die("cannot read /proc/PID/status");
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    fclose(f);
    return kb / 1024.0;
}

void stop(Child &child, int expected)
{
    kill(child.pid, SIGTERM);
    int status = finish(child);
    if (status != expected) {
        fprintf(stderr, "zorvane_bench: exit status %d, expected %d\n", status,
                expected);
        exit(1);
    }
}

// ------------------------------------------------------------------ figures

void startup(const std::string &probe, const std::string &floorProgram,
             int runs)
{
    timeToPresent(probe, {}); // warm the file cache for both
    timeToPresent(floorProgram, {"start"});
    std::vector<double> game, floor;
    for (int i = 0; i < runs; i++) {
        if (i % 2 == 0) {
            game.push_back(timeToPresent(probe, {}));
            floor.push_back(timeToPresent(floorProgram, {"start"}));
        } else {
            floor.push_back(timeToPresent(floorProgram, {"start"}));
            game.push_back(timeToPresent(probe, {}));
        }
    }
    row("start-up: process start → welcome presented (ms)", game, floor,
        "ratio ≤ 1.10");
}

void idle(const std::string &gameProgram, const std::string &floorProgram,
          int runs, int seconds)
{
    std::vector<double> welcome, play, floorIdle, rss, floorRss;
    for (int i = 0; i < runs; i++) {
        Child game = spawn({gameProgram});
        waitUntilSettled(game.pid);
        welcome.push_back(cpuMsOver(game.pid, seconds));
        if (system("xdotool key space") != 0)
            die("xdotool failed");
        waitUntilSettled(game.pid);
        play.push_back(cpuMsOver(game.pid, seconds));
        rss.push_back(peakRssMb(game.pid));
        stop(game, EXIT_QUIT);

        Child floor = spawn({floorProgram, "idle"});
        char line[16];
        if (!fgets(line, sizeof line, floor.out))
            die("no ready line from the floor");
        waitUntilSettled(floor.pid);
        floorIdle.push_back(cpuMsOver(floor.pid, seconds));
        floorRss.push_back(peakRssMb(floor.pid));
        stop(floor, 0);
    }
    std::string s = std::to_string(seconds);
    std::string tick = format(1000.0 / double(sysconf(_SC_CLK_TCK)));
    row("idle CPU, " + s + " s on the welcome screen (ms)", welcome, floorIdle,
        "0 ms (clock resolution " + tick + " ms)");
    row("idle CPU, " + s + " s on the play screen (ms)", play, floorIdle,
        "0 ms (clock resolution " + tick + " ms)");
    row("peak RSS (VmHWM) on the play screen (MiB)", rss, floorRss, "–");
}

// The pictures initializationTexteres loads, in its order.
std::vector<std::string> picturePaths()
{
    std::vector<std::string> paths;
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++)
            paths.push_back("resources/sings/" + std::to_string(g + 1) + "/(" +
                            std::to_string(k) + ").png");
    paths.push_back("resources/welcome.png");
    paths.push_back("resources/namesGroup.png");
    paths.push_back("resources/felicitation.png");
    return paths;
}

void destroyTextures()
{
    for (int s = 1; s <= SIGNS; s++)
        SDL_DestroyTexture(GUI.signs[s].texture);
    SDL_DestroyTexture(GUI.welcome.texture);
    SDL_DestroyTexture(GUI.namesGroup.texture);
    SDL_DestroyTexture(GUI.felicitation.texture);
    GUI = PictureCatalogue{};
}

double decodeOnly(const std::vector<std::string> &paths)
{
    long long start = monotonicNs();
    for (const std::string &path : paths) {
        SDL_Surface *surface = IMG_Load(path.c_str());
        if (!surface)
            die(IMG_GetError());
        SDL_FreeSurface(surface);
    }
    return msSince(start);
}

double loadAll()
{
    long long start = monotonicNs();
    initializationTexteres();
    return msSince(start);
}

void loading(int runs)
{
    std::vector<std::string> paths = picturePaths();
    decodeOnly(paths); // warm the file cache
    loadAll();
    double pixels = 0;
    for (int s = 1; s <= SIGNS; s++)
        pixels += double(GUI.signs[s].rect.w) * GUI.signs[s].rect.h;
    for (const ScreenPicture *p :
         {&GUI.welcome, &GUI.namesGroup, &GUI.felicitation})
        pixels += double(p->rect.w) * p->rect.h;
    destroyTextures();

    std::vector<double> game, floor;
    for (int i = 0; i < runs; i++) {
        if (i % 2 == 0) {
            game.push_back(loadAll());
            destroyTextures();
            floor.push_back(decodeOnly(paths));
        } else {
            floor.push_back(decodeOnly(paths));
            game.push_back(loadAll());
            destroyTextures();
        }
    }
    auto scaled = [](std::vector<double> v, double factor) {
        for (double &x : v)
            x *= factor;
        return v;
    };
    double n = double(paths.size()), mp = pixels / 1e6;
    std::string vs = " vs decode only";
    row("picture loading: initializationTexteres, " +
            std::to_string(paths.size()) + " pictures, " + format(mp) +
            " Mpx (ms)" + vs,
        game, floor, "–");
    row("picture loading per picture (µs)" + vs, scaled(game, 1000 / n),
        scaled(floor, 1000 / n), "–");
    row("picture loading per megapixel (ms)" + vs, scaled(game, 1 / mp),
        scaled(floor, 1 / mp), "–");
    std::vector<double> texture;
    for (size_t i = 0; i < game.size(); i++)
        texture.push_back(game[i] - floor[i]);
    row("picture loading: texture share (game − decode, ms)", texture, {}, "–");
}

void barePresent()
{
    SDL_RenderClear(ren);
    SDL_RenderPresent(ren);
}

// The board while carrying: one cell empty, its picture under the pointer.
void pickUpAPicture(bool *dragging, SDL_Cursor *hand, SDL_Cursor *arrow)
{
    SDL_Event press = {};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.x = rowsWidth[4];
    press.button.y = rowsHeights[1];
    dragAndDrop(&press, dragging, hand, arrow);
    if (!*dragging)
        die("could not pick a picture up");
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 600;
    motion.motion.y = 420;
    dragAndDrop(&motion, dragging, hand, arrow);
}

void redraw(int frames)
{
    const int block = 50;
    int blocks = (frames + block - 1) / block;
    std::vector<double> game, floor, gameBlocks, floorBlocks;
    auto run = [&](void (*draw)(), std::vector<double> &each,
                   std::vector<double> &blocksOut) {
        long long blockStart = monotonicNs();
        for (int f = 0; f < block; f++) {
            long long start = monotonicNs();
            draw();
            each.push_back(msSince(start));
        }
        blocksOut.push_back(msSince(blockStart) / block);
    };
    for (int f = 0; f < 20; f++) { // warm-up
        renderingGameField();
        barePresent();
    }
    for (int b = 0; b < blocks; b++) {
        if (b % 2 == 0) {
            run(renderingGameField, game, gameBlocks);
            run(barePresent, floor, floorBlocks);
        } else {
            run(barePresent, floor, floorBlocks);
            run(renderingGameField, game, gameBlocks);
        }
    }
    Summary g = summarise(game), f = summarise(floor),
            pg = summarise(gameBlocks), pf = summarise(floorBlocks);
    std::vector<double> pairs;
    for (size_t i = 0; i < gameBlocks.size(); i++)
        pairs.push_back(gameBlocks[i] / floorBlocks[i]);
    Summary p = summarise(pairs);
    printf("| redraw: renderingGameField (27 pictures, 3 labels, carried) vs "
           "clear+present, "
           "%zu frames each (ms per frame) | %s (%s–%s) | %s (%s–%s) | %s "
           "(%s–%s per %d-frame "
           "block) | ratio ≤ 1.3 |\n",
           game.size(), format(g.median).c_str(), format(g.min).c_str(),
           format(g.max).c_str(), format(f.median).c_str(),
           format(f.min).c_str(), format(f.max).c_str(),
           format(g.median / f.median).c_str(), format(p.min).c_str(),
           format(p.max).c_str(), block);
    (void)pg;
    (void)pf;
    fflush(stdout);
}

// The play loop fed a stream of motion events while carrying a picture:
// SDL_WaitEvent, dragAndDrop, renderingGameField per event; the floor waits
// for the same events and does a bare clear and present per event.
void events(int count, bool *dragging, SDL_Cursor *hand, SDL_Cursor *arrow)
{
    const int block = 100;
    int blocks = (count + block - 1) / block;
    auto feed = [&](int b) {
        for (int i = 0; i < block; i++) {
            SDL_Event e = {};
            e.type = SDL_MOUSEMOTION;
            e.motion.windowID = SDL_GetWindowID(win);
            e.motion.x = 100 + (i * 37 + b * 11) % 1000;
            e.motion.y = 100 + (i * 23 + b * 7) % 500;
            e.motion.state = SDL_BUTTON_LMASK;
            if (SDL_PushEvent(&e) != 1)
                die("SDL_PushEvent");
        }
    };
    // Feeds one block of motion events and counts how fast `frame` keeps up.
    auto eventsPerSecond =
        [&](int b, const std::function<void(const SDL_Event &)> &frame) {
            feed(b);
            long long start = monotonicNs();
            for (int i = 0; i < block;) {
                SDL_Event event = {};
                SDL_WaitEvent(&event);
                if (event.type == SDL_MOUSEMOTION)
                    i++;
                frame(event);
            }
            return block / (msSince(start) / 1000);
        };
    auto game = [&](int b) {
        return eventsPerSecond(b, [&](const SDL_Event &event) {
            if (dragAndDrop(&event, dragging, hand, arrow))
                die("a motion dropped the picture");
            renderingGameField();
        });
    };
    auto floor = [&](int b) {
        return eventsPerSecond(b, [](const SDL_Event &) { barePresent(); });
    };
    std::vector<double> g, f;
    for (int b = 0; b < blocks; b++) {
        if (b % 2 == 0) {
            g.push_back(game(b));
            f.push_back(floor(b));
        } else {
            f.push_back(floor(b));
            g.push_back(game(b));
        }
    }
    row("play loop while carrying: motion events per second, " +
            std::to_string(blocks * block) + " events each, per " +
            std::to_string(block) + "-event block",
        g, f, "–");
}

void inprocess(int runs, int frames)
{
    initializationGrafic();
    initializationEventFilter();
    initializationRandomaizer();
    loading(runs);
    initializationTexteres();
    FillGameField();
    SDL_Cursor *hand = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    SDL_Cursor *arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    bool dragging = false;
    pickUpAPicture(&dragging, hand, arrow);
    redraw(frames);
    events(frames, &dragging, hand, arrow);
}

// The decoded sizes of the pictures initializationTexteres loads.
void pictures()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
        (IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0)
        die(SDL_GetError());
    long long total = 0, largest = 0, pixels = 0;
    std::string largestPath;
    std::vector<std::string> paths = picturePaths();
    for (const std::string &path : paths) {
        SDL_Surface *surface = IMG_Load(path.c_str());
        if (!surface)
            die(IMG_GetError());
        long long bytes = (long long)surface->pitch * surface->h;
        pixels += (long long)surface->w * surface->h;
        total += bytes;
        if (bytes > largest) {
            largest = bytes;
            largestPath = path + " " + std::to_string(surface->w) + "×" +
                          std::to_string(surface->h);
        }
        SDL_FreeSurface(surface);
    }
    printf("%zu %lld %lld %lld %s\n", paths.size(), pixels, total, largest,
           largestPath.c_str());
}

// SDL's allocator, counted: everything SDL and SDL_image allocate, decoded
// pictures included, goes through these.
size_t sdlLive, sdlPeak;

void counted(void *p)
{
    sdlLive += malloc_usable_size(p);
    sdlPeak = std::max(sdlPeak, sdlLive);
}
void *countedMalloc(size_t n)
{
    void *p = malloc(n);
    if (p)
        counted(p);
    return p;
}
void *countedCalloc(size_t n, size_t size)
{
    void *p = calloc(n, size);
    if (p)
        counted(p);
    return p;
}
void *countedRealloc(void *old, size_t n)
{
    size_t before = old ? malloc_usable_size(old) : 0;
    void *p = realloc(old, n);
    if (p || n == 0)
        sdlLive -= before;
    if (p)
        counted(p);
    return p;
}
void countedFree(void *p)
{
    if (p)
        sdlLive -= malloc_usable_size(p);
    free(p);
}

// The SDL heap's peak during initializationTexteres, beyond its level just
// before, against the largest decoded picture: one picture alive at a time
// keeps the two close; all of them alive would add up to every picture.
void sdlHeap()
{
    SDL_SetMemoryFunctions(countedMalloc, countedCalloc, countedRealloc,
                           countedFree);
    initializationGrafic();
    size_t before = sdlLive;
    sdlPeak = sdlLive;
    initializationTexteres();
    size_t loadingPeak = sdlPeak - before, after = sdlLive;
    // The same measure for decoding the largest picture alone.
    size_t largest = 0;
    for (const std::string &path : picturePaths()) {
        sdlPeak = sdlLive;
        SDL_FreeSurface(IMG_Load(path.c_str()));
        largest = std::max(largest, sdlPeak - after);
    }
    // before, loading peak beyond before, left after loading, one decode's peak
    printf("%zu %zu %zu %zu\n", before, loadingPeak, after - before, largest);
}

typedef const unsigned char *(*GetString)(unsigned);

void info()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        die(SDL_GetError());
    SDL_Window *window =
        SDL_CreateWindow("Zorvane info", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    SDL_Renderer *renderer =
        window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED)
               : NULL;
    if (!renderer)
        die(SDL_GetError());
    SDL_RendererInfo about;
    SDL_GetRendererInfo(renderer, &about);
    SDL_version v;
    SDL_GetVersion(&v);
    const SDL_version *img = IMG_Linked_Version();
    GetString getString = (GetString)SDL_GL_GetProcAddress("glGetString");
    const unsigned GL_RENDERER_NAME = 0x1F01, GL_VERSION_NAME = 0x1F02;
    printf("SDL %d.%d.%d, SDL_image %d.%d.%d, SDL renderer \"%s\"", v.major,
           v.minor, v.patch, img->major, img->minor, img->patch, about.name);
    if (getString && strcmp(about.name, "opengl") == 0)
        printf(", GL renderer \"%s\", GL version \"%s\"",
               getString(GL_RENDERER_NAME), getString(GL_VERSION_NAME));
    printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "info" && argc == 2)
        info();
    else if (command == "startup" && argc == 5)
        startup(argv[2], argv[3], atoi(argv[4]));
    else if (command == "inprocess" && argc == 4)
        inprocess(atoi(argv[2]), atoi(argv[3]));
    else if (command == "settle" && argc == 3)
        waitUntilSettled(pid_t(atoi(argv[2])));
    else if (command == "sdlheap" && argc == 2)
        sdlHeap();
    else if (command == "pictures" && argc == 2)
        pictures();
    else if (command == "idle" && argc == 6)
        idle(argv[2], argv[3], atoi(argv[4]), atoi(argv[5]));
    else {
        fprintf(stderr, "usage: see the top of bench/bench.cpp\n");
        return 2;
    }
    return 0;
}
