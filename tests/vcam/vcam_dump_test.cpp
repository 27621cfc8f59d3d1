#include "vcam/vcam_dump_command.h"
#include "vcam/vcam_tool_arguments.h"
#include "test_support.h"
#include "vcam_test_frames.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <sstream>

namespace lumora {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Top row red, bottom row blue, the rest green.
Bytes MarkedPacket(int width, int height) {
    return test::MakePacket(width, height, [height](int, int y) {
        if (y == 0) return test::kRed;
        return y == height - 1 ? test::kBlue : test::kGreen;
    });
}

Bytes Concatenate(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    test::WriteFileText(path, std::string(bytes.begin(), bytes.end()));
}

// Two good packets with a corrupt one between them (its marker damaged).
Bytes StreamWithACorruptPacketInTheMiddle() {
    Bytes corrupt = MarkedPacket(8, 6);
    corrupt[12] = 0;
    return Concatenate({MarkedPacket(8, 6), corrupt, MarkedPacket(10, 4)});
}

struct DumpRun {
    int status;
    VcamDumpReport report;
    std::string out;
};

DumpRun RunDump(const VcamDumpOptions& options) {
    std::ostringstream out, err;
    VcamDumpCommand command(out, err);
    const int status = command.Run(options);
    return {status, command.report(), out.str() + err.str()};
}

TEST(VcamDump, CountsGoodAndBadPacketsResynchronisesAndReportsCutStreamsAndMissingInput) {
    test::TempDir dir;
    const std::string input = dir.file("stream");
    WriteBytes(input, Concatenate({Bytes{'j', 'u', 'n', 'k'}, StreamWithACorruptPacketInTheMiddle(), Bytes{'D', 'O'}}));
    const DumpRun run = RunDump({input, "", "", 30});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.report.packets, 2u);
    // The junk before the first packet, the corrupt packet, the half magic at the end.
    EXPECT_EQ(run.report.badPackets, 3u);
    EXPECT_EQ(run.report.skippedBytes, 4u + (40 + 8 * 3 * 6) + 2u);
    EXPECT_EQ(run.report.sizes.at({8, 6}), 1u);
    EXPECT_EQ(run.report.sizes.at({10, 4}), 1u);
    EXPECT_NE(run.out.find("bad marker"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("packet 2 at byte "), std::string::npos) << run.out;

    Bytes cut = MarkedPacket(8, 6);
    cut.resize(cut.size() - 10);
    WriteBytes(input, Concatenate({MarkedPacket(8, 6), cut}));
    const DumpRun cutRun = RunDump({input, "", "", 30});
    EXPECT_EQ(std::tuple(cutRun.report.packets, cutRun.report.badPackets), std::tuple(1u, 1u));
    EXPECT_NE(cutRun.out.find("ends inside the packet's pixels"), std::string::npos) << cutRun.out;
    const DumpRun missing = RunDump({dir.file("missing"), "", "", 30});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("cannot open " + dir.file("missing") + ": No such file or directory"), std::string::npos)
        << missing.out;
}

TEST(VcamDump, PngFilesAndTheY4mStreamAreTheRightWayUp) {
    test::TempDir dir;
    const std::string input = dir.file("stream");
    WriteBytes(input, StreamWithACorruptPacketInTheMiddle());
    const std::string y4m = dir.file("out.y4m");
    EXPECT_EQ(RunDump({input, dir.file("png"), y4m, 25}).report.framesSaved, 2u);

    const cv::Mat first = cv::imread(dir.file("png/frame-000001.png"));
    ASSERT_EQ(first.size(), cv::Size(8, 6));
    EXPECT_EQ(first.at<cv::Vec3b>(0, 3), cv::Vec3b(0, 0, 255));  // red on top
    EXPECT_EQ(first.at<cv::Vec3b>(5, 3), cv::Vec3b(255, 0, 0));  // blue at the bottom
    EXPECT_EQ(cv::imread(dir.file("png/frame-000002.png")).size(), cv::Size(10, 4));

    const Bytes bytes = test::ReadFileBytes(y4m);
    const std::string head = "YUV4MPEG2 W8 H6 F25:1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\nFRAME\n";
    const std::size_t frameBytes = 8 * 6 * 3 / 2;
    ASSERT_EQ(bytes.size(), head.size() + frameBytes + 6 + frameBytes);  // the 10x4 frame is fitted into 8x6
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(head.size())), head);
    EXPECT_NEAR(bytes[head.size() + 3], test::ExpectedYuv(test::kRed).y, 2);            // top row
    EXPECT_NEAR(bytes[head.size() + 5 * 8 + 3], test::ExpectedYuv(test::kBlue).y, 2);  // bottom row
}

TEST(VcamToolArguments, CommandsAndTheirOptionsAreParsedAndMistakesRefused) {
    std::string error;
    auto setup = ParseVcamToolArguments({"setup", "--width", "640", "--height", "480", "--fps", "15", "--persist"}, &error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(setup->command, VcamToolArguments::Command::kSetup);
    EXPECT_EQ(std::tuple(setup->setup.width, setup->setup.height, setup->setup.framesPerSecond, setup->setup.persist),
              std::tuple(640, 480, 15, true));

    auto dump = ParseVcamToolArguments({"dump", "/tmp/fifo", "--y4m", "out.y4m"}, &error);
    ASSERT_TRUE(dump) << error;
    EXPECT_EQ(dump->dump.input, "/tmp/fifo");
    EXPECT_EQ(dump->dump.y4mFile, "out.y4m");

    EXPECT_FALSE(ParseVcamToolArguments({"dump"}, &error));
    EXPECT_FALSE(ParseVcamToolArguments({"dump", "a", "--png"}, &error));
    EXPECT_FALSE(ParseVcamToolArguments({"status", "extra"}, &error));
    EXPECT_FALSE(ParseVcamToolArguments({"frobnicate"}, &error));
    EXPECT_EQ(ParseVcamToolArguments({"help"}, &error)->command, VcamToolArguments::Command::kHelp);

    // Nothing at all is a usage error; a number says what is wrong with it.
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{}, "a command is missing"},
        {{"setup", "--width", "wide"}, "--width needs a whole number, not \"wide\""},
        {{"setup", "--width"}, "--width needs a number"},
        {{"setup", "--width", "641"}, "--width 641 is out of range (an even number from 2 to 8192)"},
        {{"setup", "--height", "0"}, "--height 0 is out of range (an even number from 2 to 8192)"},
        {{"setup", "--height", "99999999999999999999"},
         "--height 99999999999999999999 is out of range (an even number from 2 to 8192)"},
        {{"setup", "--fps", "0"}, "--fps 0 is out of range (1 to 240)"},
        {{"dump", "a", "--fps", "241"}, "--fps 241 is out of range (1 to 240)"},
    };
    for (const auto& [args, message] : refused) {
        error.clear();
        EXPECT_FALSE(ParseVcamToolArguments(args, &error)) << message;
        EXPECT_EQ(error, message);
    }
}

}  // namespace
}  // namespace lumora
