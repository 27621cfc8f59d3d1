#include "vcam/vcam_tool_arguments.h"

#include <charconv>

namespace lumora {

const char kVcamToolUsage[] =
    "usage: lumora-vcam status\n"
    "       lumora-vcam setup [--width W] [--height H] [--fps N] [--persist]\n"
    "       lumora-vcam dump <file|fifo> [--png DIR] [--y4m FILE] [--fps N]\n";

namespace {

std::optional<VcamToolArguments> Fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return std::nullopt;
}

bool ParseNumber(const std::string& text, int* value) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, *value);
    return failure == std::errc() && stop == end;
}

// Takes the value after option i; false when there is none.
bool TakeValue(const std::vector<std::string>& args, std::size_t* i, std::string* value) {
    if (*i + 1 >= args.size()) return false;
    *value = args[++*i];
    return true;
}

bool TakeNumber(const std::vector<std::string>& args, std::size_t* i, int* number) {
    std::string text;
    return TakeValue(args, i, &text) && ParseNumber(text, number);
}

std::optional<VcamToolArguments> ParseSetup(const std::vector<std::string>& args, std::string* error) {
    VcamToolArguments parsed;
    parsed.command = VcamToolArguments::Command::kSetup;
    VcamSetupOptions& setup = parsed.setup;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        bool ok = true;
        if (option == "--width") {
            ok = TakeNumber(args, &i, &setup.width);
        } else if (option == "--height") {
            ok = TakeNumber(args, &i, &setup.height);
        } else if (option == "--fps") {
            ok = TakeNumber(args, &i, &setup.framesPerSecond);
        } else if (option == "--persist") {
            setup.persist = true;
        } else {
            return Fail(error, "unknown option for setup: " + option);
        }
        if (!ok) return Fail(error, option + " needs a number");
    }
    return parsed;
}

std::optional<VcamToolArguments> ParseDump(const std::vector<std::string>& args, std::string* error) {
    VcamToolArguments parsed;
    parsed.command = VcamToolArguments::Command::kDump;
    VcamDumpOptions& dump = parsed.dump;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        bool ok = true;
        if (option == "--png") {
            ok = TakeValue(args, &i, &dump.pngFolder);
        } else if (option == "--y4m") {
            ok = TakeValue(args, &i, &dump.y4mFile);
        } else if (option == "--fps") {
            ok = TakeNumber(args, &i, &dump.framesPerSecond) && dump.framesPerSecond > 0;
        } else if (option.rfind("--", 0) != 0 && dump.input.empty()) {
            dump.input = option;
        } else {
            return Fail(error, "unexpected argument for dump: " + option);
        }
        if (!ok) return Fail(error, option + " needs a value");
    }
    if (dump.input.empty()) return Fail(error, "dump needs the file or FIFO to read");
    return parsed;
}

}  // namespace

std::optional<VcamToolArguments> ParseVcamToolArguments(const std::vector<std::string>& args, std::string* error) {
    if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") return VcamToolArguments{};
    if (args[0] == "status") {
        if (args.size() > 1) return Fail(error, "status takes no arguments");
        VcamToolArguments parsed;
        parsed.command = VcamToolArguments::Command::kStatus;
        return parsed;
    }
    if (args[0] == "setup") return ParseSetup(args, error);
    if (args[0] == "dump") return ParseDump(args, error);
    return Fail(error, "unknown command: " + args[0]);
}

}  // namespace lumora
