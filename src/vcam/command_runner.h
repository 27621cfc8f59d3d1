// CommandRunner: runs the system programs lumora-vcam needs (modinfo, modprobe,
// v4l2loopback-ctl, install, through pkexec or sudo), behind an interface so tests check
// the command lines without running anything. ProcessCommandRunner is the real one.
#pragma once

#include <string>
#include <vector>

namespace lumora {

struct CommandResult {
    int exitCode = 127;  // 127: the program could not be started
    std::string output;  // what it wrote to standard output
};

class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Runs argv[0], found on PATH, with the rest as its arguments, and waits for it.
    virtual CommandResult Run(const std::vector<std::string>& argv) = 0;
    // Whether a program of that name is on PATH.
    virtual bool IsAvailable(const std::string& program) = 0;
};

}  // namespace lumora
