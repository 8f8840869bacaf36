#include "program.h"

#include <csignal>
#include <string>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

ProgramResult runProgram(const std::string &dir, const Environment &environment,
                         int seconds)
{
    int out[2];
    if (pipe(out) != 0)
        abort();
    pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        dup2(out[1], STDOUT_FILENO);
        if (chdir(dir.c_str()) != 0)
            _exit(254);
        // In a sanitizer build leak checking stays with the in-process tests:
        // the real program also holds what X11, D-Bus and the GL driver keep.
        const char *asan = getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS",
               (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
        for (const auto &[name, value] : environment)
            value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
        alarm(unsigned(seconds)); // survives exec: a hang ends with SIGALRM
        execl(ZORVANE_PROGRAM, ZORVANE_PROGRAM, (char *)NULL);
        _exit(253);
    }
    close(out[1]);
    ProgramResult result{-1, ""};
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        result.output.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}

static pid_t server = 0;

static void stopServer()
{
    kill(server, SIGTERM);
    waitpid(server, NULL, 0);
}

// Two servers starting at once can pick the same display number, and the
// loser dies after announcing it; so a server counts once it still runs a
// moment later, and a few are tried.
static bool startServer(std::string *name)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    server = fork();
    if (server == 0) {
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0",
               "1280x720x24", "-nolisten", "tcp", (char *)NULL);
        _exit(127);
    }
    close(fds[1]);
    char buffer[32];
    ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    usleep(300 * 1000);
    pid_t ended = n > 0 ? waitpid(server, NULL, WNOHANG) : 0;
    if (n <= 0 || ended != 0) {
        if (ended == 0) // not reaped yet: end and reap it
            stopServer();
        return false;
    }
    buffer[n] = 0;
    *name = ":" + std::to_string(atoi(buffer));
    return true;
}

std::string virtualDisplay()
{
    static std::string name;
    static bool tried = false;
    if (!tried) {
        tried = true;
        for (int attempt = 0; attempt < 5 && !startServer(&name); attempt++)
            name.clear();
        if (!name.empty())
            atexit(stopServer);
    }
    return name;
}
