#include "vcam/process_command_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace lumora {
namespace {

// Only async-signal-safe calls between fork and exec: the arguments are built before.
[[noreturn]] void ExecChild(char* const* args, int outputFd) {
    const int input = ::open("/dev/null", O_RDONLY);
    if (input >= 0) ::dup2(input, STDIN_FILENO);
    ::dup2(outputFd, STDOUT_FILENO);
    ::execvp(args[0], args);
    ::_exit(127);
}

std::string ReadAll(int fd) {
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0) {
            text.append(chunk, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            return text;
        }
    }
}

int WaitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return 127;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

CommandResult ProcessCommandRunner::Run(const std::vector<std::string>& argv) {
    CommandResult result;
    if (argv.empty()) return result;
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    const pid_t child = ::fork();
    if (child == 0) ExecChild(args.data(), pipeFds[1]);
    ::close(pipeFds[1]);
    if (child < 0) {
        ::close(pipeFds[0]);
        return result;
    }
    result.output = ReadAll(pipeFds[0]);
    ::close(pipeFds[0]);
    result.exitCode = WaitFor(child);
    return result;
}

bool ProcessCommandRunner::IsAvailable(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

}  // namespace lumora
