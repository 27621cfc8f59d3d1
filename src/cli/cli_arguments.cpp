#include "cli/cli_arguments.h"

#include "platform/number_text.h"

#include <functional>
#include <map>

namespace lumora::cli {
namespace {

constexpr long kMaxSide = 8192;
constexpr long kMaxFramesPerSecond = 240;
constexpr double kMaxSeconds = 1e7;

using OptionParser = std::function<std::string(const std::string& value, RunOptions& options)>;

std::string ParseSize(const std::string& value, RunOptions& options) {
    const std::optional<std::vector<long>> sides = ParseIntegerList(value, 'x');
    if (!sides || sides->size() != 2) return "--size wants <width>x<height>, for example 640x480";
    for (const long side : *sides) {
        if (side < 1 || side > kMaxSide) return OutOfRange("--size " + value, "each side 1 to 8192");
    }
    options.width = static_cast<int>((*sides)[0]);
    options.height = static_cast<int>((*sides)[1]);
    return {};
}

std::string ParseFramesPerSecond(const std::string& value, RunOptions& options) {
    const std::optional<long> rate = ParseInteger(value);
    if (!rate) return "--fps wants a whole number of frames per second";
    if (*rate < 1 || *rate > kMaxFramesPerSecond) return OutOfRange("--fps " + value, "1 to 240");
    options.framesPerSecond = static_cast<int>(*rate);
    return {};
}

std::string ParseFrames(const std::string& value, RunOptions& options) {
    const std::optional<long> frames = ParseInteger(value);
    if (!frames) return "--frames wants a whole number of frames";
    if (*frames < 1) return OutOfRange("--frames " + value, "at least 1");
    options.frames = *frames;
    return {};
}

std::string ParseSeconds(const std::string& value, RunOptions& options) {
    const std::optional<double> seconds = ParseDecimal(value);
    if (!seconds) return "--seconds wants a number of seconds";
    if (*seconds <= 0 || *seconds > kMaxSeconds) return OutOfRange("--seconds " + value, "above 0, at most 10000000");
    options.seconds = *seconds;
    return {};
}

std::string ParseCycleEffects(const std::string& value, RunOptions& options) {
    const std::optional<double> seconds = ParseDecimal(value);
    if (!seconds || *seconds < 0.1 || *seconds > 3600) return "--cycle-effects wants seconds from 0.1 to 3600";
    options.cycleSeconds = *seconds;
    return {};
}

std::string ParseSource(const std::string& value, RunOptions& options) {
    std::string error;
    const std::optional<SourceArgument> source = SourceArgument::Parse(value, &error);
    if (source) options.source = *source;
    return error;
}

std::string ParseEffect(const std::string& value, RunOptions& options) {
    std::string error;
    const std::optional<EffectRequest> effect = EffectRequest::Parse(value, &error);
    if (effect) options.effects.push_back(*effect);
    return error;
}

std::string ParseLocator(const std::string& value, RunOptions& options) {
    if (value != "on" && value != "off") return "--locator wants on or off";
    options.locator = value == "on";
    return {};
}

std::string NotEmpty(const char* option, const std::string& value, std::string& target) {
    if (value.empty()) return std::string(option) + " wants a value";
    target = value;
    return {};
}

const std::map<std::string, OptionParser>& ValueOptions() {
    static const std::map<std::string, OptionParser> options{
        {"--source", ParseSource},
        {"--size", ParseSize},
        {"--fps", ParseFramesPerSecond},
        {"--effect", ParseEffect},
        {"--locator", ParseLocator},
        {"--frames", ParseFrames},
        {"--seconds", ParseSeconds},
        {"--cycle-effects", ParseCycleEffects},
        {"--output", [](const std::string& v, RunOptions& o) { return NotEmpty("--output", v, o.output); }},
        {"--snapshot", [](const std::string& v, RunOptions& o) { return NotEmpty("--snapshot", v, o.snapshotFolder); }},
        {"--record", [](const std::string& v, RunOptions& o) { return NotEmpty("--record", v, o.recordFile); }},
        {"--codec",
         [](const std::string& v, RunOptions& o) {
             std::string codec;
             std::string error = NotEmpty("--codec", v, codec);
             o.codec = codec;
             return error;
         }},
    };
    return options;
}

// The rules between options, once all are read.
std::string CheckCombination(const RunOptions& options) {
    if (options.frames && options.seconds) return "--frames and --seconds exclude each other";
    if (options.codec && options.recordFile.empty()) return "--codec goes with --record";
    if ((options.width || options.framesPerSecond) && !options.source.TakesOutputFormat()) {
        return "--size and --fps apply to image, desktop and pattern sources";
    }
    return {};
}

std::string ParseRun(const std::vector<std::string>& arguments, RunOptions& options) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--fast") {
            options.fast = true;
            continue;
        }
        const auto parser = ValueOptions().find(option);
        if (parser == ValueOptions().end()) return "unknown option \"" + option + "\"";
        if (i + 1 >= arguments.size()) return option + " wants a value";
        if (std::string error = parser->second(arguments[++i], options); !error.empty()) return error;
    }
    return CheckCombination(options);
}

}  // namespace

CliArguments CliArguments::Parse(const std::vector<std::string>& arguments) {
    CliArguments parsed;
    if (arguments.empty()) {
        parsed.error = "a command is missing";
        return parsed;
    }
    static const std::map<std::string, Command> commands{
        {"help", Command::kHelp}, {"--help", Command::kHelp}, {"-h", Command::kHelp},
        {"devices", Command::kDevices}, {"codecs", Command::kCodecs}, {"effects", Command::kEffects},
        {"run", Command::kRun}};
    const auto command = commands.find(arguments[0]);
    if (command == commands.end()) {
        parsed.error = "unknown command \"" + arguments[0] + "\"";
        return parsed;
    }
    parsed.command = command->second;
    if (parsed.command == Command::kRun) {
        parsed.error = ParseRun(arguments, parsed.run);
    } else if (arguments.size() > 1) {
        parsed.error = arguments[0] + " takes no options";
    }
    return parsed;
}

const char* CliArguments::Usage() {
    return "usage: lumora-cli devices | codecs | effects | help\n"
           "       lumora-cli run [--source S] [--size WxH] [--fps N] [--effect E]... [--locator on|off]\n"
           "                      [--output O] [--frames N | --seconds S] [--fast] [--snapshot DIR]\n"
           "                      [--record FILE [--codec NAME|none]] [--cycle-effects SECONDS]\n"
           "\n"
           "  S  device:<index 0-1000> | file:<path>[,<path>...] | playlist:<file.pls> | image:<path>\n"
           "     | desktop[:<x>,<y>,<w>,<h>] | pattern[:<videotestsrc pattern>]\n"
           "     (default: the sample picture in the program's images folder)\n"
           "  E  zoom=<1.0-4.0>[@<x>,<y>] | rgb=<r>,<g>,<b> (1-256) | face[=<6-9>]\n"
           "     | pip=<device>[,<position 1-4>[,<size 5-50>[,<margin 0-100>]]] | <number> | <name>\n"
           "     a name may be shortened to the start of the name or of one of its words, as long\n"
           "     as one effect fits (snow: \"Falling snow\"); `lumora-cli effects` lists them\n"
           "  O  vcam (the \"Lumora Capture\" camera, the default) | pipewire (its PipeWire camera)\n"
           "     | none | <file or FIFO>\n"
           "     (a FIFO: the run starts once a reader has opened it)\n"
           "  --size, --fps   output size (1-8192 a side) and rate (1-240) of pictures, the desktop\n"
           "                  and patterns (pictures and patterns 640x480 at 30, the desktop at 5)\n"
           "  --frames N      stop after N frames; --seconds S: after S seconds\n"
           "  --fast          files and patterns as fast as the machine allows, every frame delivered\n"
           "  --snapshot DIR  save the last frame there as snapshotNNN.jpg\n"
           "  --record FILE   record the processed video as AVI (--codec: an encoder from\n"
           "                  `lumora-cli codecs` by name or element name; none: uncompressed)\n"
           "  --cycle-effects SECONDS  switch one effect on or off this often, through every\n"
           "                  effect in turn (picture-in-picture from device 0)\n"
           "\n"
           "SIGINT or SIGTERM while frames flow stops the run as its end would (the recording is\n"
           "finished, the summary written); before that, or while the next file starts, it ends\n"
           "lumora-cli at once.\n"
           "exit status: 0 done; 1 the source, the output, the recording, a snapshot or an effect\n"
           "failed, or no frame was delivered; 2 usage error; 130 (SIGINT) or 143 (SIGTERM) stopped\n"
           "at once by the signal\n";
}

}  // namespace lumora::cli
