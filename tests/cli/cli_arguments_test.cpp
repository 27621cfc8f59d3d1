#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumora::cli {
namespace {

CliArguments Parse(const std::string& line) {
    std::istringstream words(line);
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) arguments.push_back(word);
    return CliArguments::Parse(arguments);
}

TEST(CliArguments, AFullRunLineKeepsEveryValueAndTheEffectOrderAndSourcesParse) {
    const CliArguments parsed = Parse(
        "run --source pattern:ball --size 1280x720 --fps 15 --effect rgb=256,128,1 --effect zoom=2.5@-10,20 "
        "--effect 7 --effect Snow --effect face=7 --effect pip=1,2,20 --locator off --output /tmp/p --frames 90 --fast "
        "--snapshot /tmp/s --record /tmp/r.avi --codec jpegenc --cycle-effects 2.5");
    ASSERT_EQ(parsed.error, "");
    const RunOptions& run = parsed.run;
    EXPECT_EQ(std::tuple(run.source.pattern, run.width, run.height, run.framesPerSecond),
              std::tuple("ball", 1280, 720, 15));
    ASSERT_EQ(run.effects.size(), 6u);
    const std::vector<EffectRequest>& e = run.effects;
    EXPECT_EQ(std::tuple(e[0].kind, e[0].red, e[0].blue), std::tuple(EffectRequest::Kind::kColorFilter, 256, 1));
    EXPECT_EQ(std::tuple(e[1].kind, e[1].zoomFactor, e[1].offsetX, e[1].offsetY),
              std::tuple(EffectRequest::Kind::kZoom, 640, -10, 20));
    EXPECT_EQ(std::tuple(e[2].number, e[3].name, e[4].faceAmount), std::tuple(7, "Snow", 7));
    EXPECT_EQ(std::tuple(e[5].pipDevice, e[5].pipPosition, e[5].pipSize, e[5].pipMargin),
              std::tuple(1, 2, 20, std::nullopt));
    EXPECT_EQ(std::tuple(run.locator, run.output, run.frames, run.fast), std::tuple(false, "/tmp/p", 90, true));
    EXPECT_EQ(std::tuple(run.snapshotFolder, run.codec, run.cycleSeconds), std::tuple("/tmp/s", "jpegenc", 2.5));

    // File lists and desktop rectangles; the other kinds of source are run end to end.
    std::string error;
    EXPECT_EQ(SourceArgument::Parse("file:/a.avi,/b c.mpg", &error)->files,
              (std::vector<std::string>{"/a.avi", "/b c.mpg"}));
    const auto desktop = SourceArgument::Parse("desktop:10,20,300,200", &error);
    ASSERT_TRUE(desktop && desktop->desktopRect);
    EXPECT_EQ(std::tuple(desktop->desktopRect->left, desktop->desktopRect->top, desktop->desktopRect->right,
                         desktop->desktopRect->bottom),
              std::tuple(10, 20, 310, 220));
    EXPECT_FALSE(SourceArgument::Parse("desktop", &error)->desktopRect);
}

// Every one of these is a usage error (exit code 2) with a message; a number outside what
// its option takes says so, with the range.
TEST(CliArguments, UsageErrorsAreCaughtAndNumbersOutsideTheirRangeSaySo) {
    for (const char* line : {
             "", "play", "devices --all", "run --bogus",
             "run --source", "run --source camera:1", "run --source device:x", "run --source file:",
             "run --source file:/a.avi,", "run --source desktop:1,2,3", "run --source image:",
             "run --size 640", "run --size 640x480x3", "run --fps 12.5", "run --seconds -1",
             "run --frames 5 --seconds 2", "run --effect zoom=0.5", "run --effect zoom=2@1",
             "run --effect rgb=1,2", "run --effect rgb=128,128,257", "run --effect face=", "run --effect pip=",
             "run --effect pip=0,1,20,10,3",
             "run --locator maybe", "run --codec jpegenc",  // a codec without --record
             "run --source file:/a.avi --size 320x240", "run --source device:0 --fps 10",
         }) {
        EXPECT_NE(Parse(line).error, "") << line;
    }
    const std::pair<const char*, const char*> cases[] = {
        {"run --size 0x480", "--size 0x480 is out of range (each side 1 to 8192)"},
        {"run --size 640x8193", "--size 640x8193 is out of range (each side 1 to 8192)"},
        {"run --fps 0", "--fps 0 is out of range (1 to 240)"},
        {"run --fps 241", "--fps 241 is out of range (1 to 240)"},
        {"run --frames 0", "--frames 0 is out of range (at least 1)"},
        {"run --seconds 0", "--seconds 0 is out of range (above 0, at most 10000000)"},
        {"run --source device:1001", "device:1001 is out of range (0 to 1000)"},
        {"run --source desktop:0,0,0,10",
         "desktop:0,0,0,10 is out of range (x and y 0 to 65536, width and height 1 to 16384)"},
        {"run --effect zoom=4.5", "zoom=4.5 is out of range (1.0 to 4.0)"},
        {"run --effect zoom=2@1,99999", "the zoom offset @1,99999 is out of range (-16384 to 16384)"},
        {"run --effect rgb=0,128,128", "the rgb level 0 is out of range (1 to 256)"},
        {"run --effect face=5", "face=5 is out of range (6 to 9)"},
        {"run --effect pip=1001", "the pip device 1001 is out of range (0 to 1000)"},
        {"run --effect pip=0,5", "the pip position 5 is out of range (1 to 4)"},
        {"run --effect pip=0,1,4", "the pip size 4 is out of range (5 to 50)"},
        {"run --effect pip=0,1,20,101", "the pip margin 101 is out of range (0 to 100)"},
        {"run --effect 0", "effect 0 is out of range (1 to 1000000)"},
        {"run --cycle-effects 0.05", "--cycle-effects wants seconds from 0.1 to 3600"},
        {"run --cycle-effects 3601", "--cycle-effects wants seconds from 0.1 to 3600"},
        {"run --cycle-effects x", "--cycle-effects wants seconds from 0.1 to 3600"},
    };
    for (const auto& [line, message] : cases) EXPECT_EQ(Parse(line).error, message) << line;
}

}  // namespace
}  // namespace lumora::cli
