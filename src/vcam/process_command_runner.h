// ProcessCommandRunner: CommandRunner over fork and exec. The child's standard input is
// /dev/null, so nothing can sit waiting for typing (sudo asks on the terminal itself, and
// is given -n when there is none); standard error goes where ours goes; standard output is
// captured. Blocks the calling thread until the program ends. Stateless; any thread.
#pragma once

#include "vcam/command_runner.h"

namespace lumora {

class ProcessCommandRunner final : public CommandRunner {
public:
    CommandResult Run(const std::vector<std::string>& argv) override;
    bool IsAvailable(const std::string& program) override;
};

}  // namespace lumora
