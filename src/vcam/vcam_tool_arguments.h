// The command line of lumora-vcam:
//   lumora-vcam status
//   lumora-vcam setup [--width W] [--height H] [--fps N] [--persist]
//   lumora-vcam dump <file|fifo> [--png DIR] [--y4m FILE] [--fps N]
//   lumora-vcam help
// Nothing at all is a usage error, like a number out of range (the message gives the range).
// Plain parsing; no side effects.
#pragma once

#include "vcam/vcam_dump_command.h"
#include "vcam/vcam_setup_command.h"

#include <optional>
#include <string>
#include <vector>

namespace lumora {

struct VcamToolArguments {
    enum class Command { kStatus, kSetup, kDump, kHelp };
    Command command = Command::kHelp;
    VcamSetupOptions setup;
    VcamDumpOptions dump;
};

extern const char kVcamToolUsage[];

// The arguments after the program name; nothing (and the reason in `error`) when they do
// not fit.
std::optional<VcamToolArguments> ParseVcamToolArguments(const std::vector<std::string>& args, std::string* error);

}  // namespace lumora
