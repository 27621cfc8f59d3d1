// CliArguments: the command line of lumora-cli, parsed.
//
//   lumora-cli devices | codecs | effects | help
//   lumora-cli run [--source S] [--size WxH] [--fps N] [--effect E]... [--locator on|off] [--output O]
//                  [--frames N | --seconds S] [--fast] [--snapshot DIR]
//                  [--record FILE [--codec NAME|none]] [--cycle-effects SECONDS]
//
// A plain value; Parse only reads its arguments.
#pragma once

#include "cli/effect_request.h"
#include "cli/source_argument.h"

#include <optional>
#include <string>
#include <vector>

namespace lumora::cli {

struct RunOptions {
    SourceArgument source;
    std::optional<int> width;   // --size; the source's default when absent
    std::optional<int> height;
    std::optional<int> framesPerSecond;
    std::vector<EffectRequest> effects;  // in the order given
    std::optional<bool> locator;         // --locator on|off: the face-tracking outline
    std::string output = "vcam";         // "vcam", "pipewire", "none" or a path
    std::optional<long> frames;
    std::optional<double> seconds;
    bool fast = false;
    std::string snapshotFolder;
    std::string recordFile;
    std::optional<std::string> codec;  // element or listed name, "none" for uncompressed
    std::optional<double> cycleSeconds;  // --cycle-effects: switch one effect on or off this often
};

struct CliArguments {
    enum class Command { kHelp, kDevices, kCodecs, kEffects, kRun };

    Command command = Command::kHelp;
    RunOptions run;
    std::string error;  // set: a usage error

    static CliArguments Parse(const std::vector<std::string>& arguments);

    // The usage text printed with a usage error and by `help`.
    static const char* Usage();
};

}  // namespace lumora::cli
