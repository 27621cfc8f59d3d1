// The environment of a test: ScopedEnv, and an Xvfb server of the test's own (white root
// window, on a display number it picks itself) for the tests that read the screen.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scoped_env.h"

#include <cstdlib>
#include <string>

extern char** environ;

namespace lumora::test {

class XvfbServer {
public:
    static bool Installed() { return std::system("command -v Xvfb >/dev/null 2>&1") == 0; }

    explicit XvfbServer(const char* screen = "64x48x24") {
        int fds[2];
        if (pipe(fds) != 0) return;
        const std::string fd = std::to_string(fds[1]);
        // -noreset: by default the server starts over when its last client leaves and
        // refuses connections meanwhile, so a test that connects, disconnects and connects
        // again would find it gone for a moment.
        const char* argv[] = {"Xvfb",    "-displayfd", fd.c_str(), "-screen", "0",   screen,
                              "-wr",     "-noreset",   "-nolisten", "tcp",    nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its display number once it accepts connections.
        std::string number;
        pollfd readable{fds[0], POLLIN, 0};
        char c = 0;
        while (pid_ > 0 && poll(&readable, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty() && c == '\n') display_ = ":" + number;
    }
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return display_; }
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace lumora::test
