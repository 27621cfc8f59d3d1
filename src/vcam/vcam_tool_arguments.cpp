#include "vcam/vcam_tool_arguments.h"

#include "platform/number_text.h"

namespace lumora {

const char kVcamToolUsage[] =
    "usage: lumora-vcam status\n"
    "       lumora-vcam setup [--width W] [--height H] [--fps N] [--persist]\n"
    "       lumora-vcam dump <file|fifo> [--png DIR] [--y4m FILE] [--fps N]\n"
    "       lumora-vcam help\n"
    "\n"
    "  setup  W and H even, 2 to 8192 (default 1280x720); N 1 to 240 (default 30)\n"
    "  dump   N: the frame rate written into the y4m file, 1 to 240 (default 30)\n"
    "exit status: 0 done, 1 failed (the reason is printed), 2 usage error\n";

namespace {

std::optional<VcamToolArguments> Fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return std::nullopt;
}

// The values a numeric option takes.
struct NumberRange {
    int low;
    int high;
    bool even;
};

constexpr NumberRange kSide{2, 8192, true};
constexpr NumberRange kRate{1, 240, false};

// Takes the value after option i; false when there is none.
bool TakeValue(const std::vector<std::string>& args, std::size_t* i, std::string* value) {
    if (*i + 1 >= args.size()) return false;
    *value = args[++*i];
    return true;
}

// Takes the number after option i into `number`; what is wrong with it, or "".
std::string TakeNumber(const std::vector<std::string>& args, std::size_t* i, NumberRange range, int* number) {
    const std::string option = args[*i];
    std::string text;
    if (!TakeValue(args, i, &text)) return option + " needs a number";
    const std::optional<long> value = ParseInteger(text);
    if (!value && !IsWholeNumberText(text)) return option + " needs a whole number, not \"" + text + "\"";
    if (!value || *value < range.low || *value > range.high || (range.even && *value % 2 != 0)) {
        return OutOfRange(option + " " + text, (range.even ? "an even number from " : "") + std::to_string(range.low) +
                                                   " to " + std::to_string(range.high));
    }
    *number = static_cast<int>(*value);
    return {};
}

std::optional<VcamToolArguments> ParseSetup(const std::vector<std::string>& args, std::string* error) {
    VcamToolArguments parsed;
    parsed.command = VcamToolArguments::Command::kSetup;
    VcamSetupOptions& setup = parsed.setup;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        std::string wrong;
        if (option == "--width") {
            wrong = TakeNumber(args, &i, kSide, &setup.width);
        } else if (option == "--height") {
            wrong = TakeNumber(args, &i, kSide, &setup.height);
        } else if (option == "--fps") {
            wrong = TakeNumber(args, &i, kRate, &setup.framesPerSecond);
        } else if (option == "--persist") {
            setup.persist = true;
        } else {
            return Fail(error, "unknown option for setup: " + option);
        }
        if (!wrong.empty()) return Fail(error, wrong);
    }
    return parsed;
}

std::optional<VcamToolArguments> ParseDump(const std::vector<std::string>& args, std::string* error) {
    VcamToolArguments parsed;
    parsed.command = VcamToolArguments::Command::kDump;
    VcamDumpOptions& dump = parsed.dump;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        std::string wrong;
        if (option == "--png" || option == "--y4m") {
            std::string& target = option == "--png" ? dump.pngFolder : dump.y4mFile;
            if (!TakeValue(args, &i, &target) || target.empty()) wrong = option + " needs a value";
        } else if (option == "--fps") {
            wrong = TakeNumber(args, &i, kRate, &dump.framesPerSecond);
        } else if (option.rfind("--", 0) != 0 && dump.input.empty()) {
            dump.input = option;
        } else {
            return Fail(error, "unexpected argument for dump: " + option);
        }
        if (!wrong.empty()) return Fail(error, wrong);
    }
    if (dump.input.empty()) return Fail(error, "dump needs the file or FIFO to read");
    return parsed;
}

}  // namespace

std::optional<VcamToolArguments> ParseVcamToolArguments(const std::vector<std::string>& args, std::string* error) {
    if (args.empty()) return Fail(error, "a command is missing");
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") return VcamToolArguments{};
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
