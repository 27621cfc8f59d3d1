// lumora-vcam's commands: setup and status over a fake system, dump over packet files, and
// the command line.
#include "test_support.h"
#include "vcam/fake_loopback_device.h"
#include "vcam/vcam_dump_command.h"
#include "vcam/vcam_setup_command.h"
#include "vcam/vcam_status_command.h"
#include "vcam/vcam_tool_arguments.h"
#include "vcam_test_frames.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace lumora {
namespace {

namespace fs = std::filesystem;
using Line = std::vector<std::string>;

// A sysfs (and /proc) tree under a temporary folder.
class FakeSystem {
public:
    const std::string& root() const { return root_; }
    std::string proc() const { return dir_.file("proc"); }

    void LoadModule(const std::string& version) {
        fs::create_directories(dir_.path() / "sys/module/v4l2loopback");
        if (!version.empty()) test::WriteFileText(dir_.file("sys/module/v4l2loopback/version"), version + "\n");
    }
    void AddVideoDevice(int number, const std::string& name) {
        const fs::path folder = dir_.path() / "sys/class/video4linux" / ("video" + std::to_string(number));
        fs::create_directories(folder);
        test::WriteFileText((folder / "name").string(), name + "\n");
    }
    void AddProcess(int pid, const std::string& command, const std::string& openNode) {
        const fs::path process = dir_.path() / "proc" / std::to_string(pid);
        fs::create_directories(process / "fd");
        test::WriteFileText((process / "comm").string(), command + "\n");
        fs::create_symlink("/dev/null", process / "fd" / "0");
        fs::create_symlink(openNode, process / "fd" / "5");
    }

private:
    test::TempDir dir_;
    std::string root_ = dir_.path().string();
};

// Records command lines; answers from a table; can change the fake system as a command
// "runs".
class FakeRunner final : public CommandRunner {
public:
    std::vector<Line> lines;
    std::set<std::string> available = {"modinfo", "modprobe", "pkexec", "sudo", "install"};
    std::map<std::string, CommandResult> results;  // by program (after pkexec/sudo -n)
    std::function<void(const Line&)> onRun;

    CommandResult Run(const Line& argv) override {
        lines.push_back(argv);
        if (onRun) onRun(argv);
        std::size_t program = 0;
        while (program < argv.size() &&
               (argv[program] == "pkexec" || argv[program] == "sudo" || argv[program] == "-n")) {
            ++program;
        }
        const auto found = results.find(argv[program]);
        return found != results.end() ? found->second : CommandResult{0, ""};
    }
    bool IsAvailable(const std::string& program) override { return available.count(program) != 0; }
};

struct SetupRun {
    int status;
    std::string out;
    std::string err;
};

class VcamSetup : public ::testing::Test {
protected:
    SetupRun Run(VcamSetupOptions options = {}) {
        LoopbackSysfs sysfs(system_.root());
        context_.deviceWait = std::chrono::milliseconds(0);
        std::ostringstream out, err;
        VcamSetupCommand command(sysfs, runner_, context_, out, err);
        return {command.Run(options), out.str(), err.str()};
    }

    FakeSystem system_;
    FakeRunner runner_;
    VcamSetupContext context_;
};

TEST_F(VcamSetup, AnUnloadedModuleIsLoadedWithOurLabelThroughPkexecOrSudo) {
    runner_.results["modinfo"] = {0, "0.12.7\n"};
    const Line modprobe = {"modprobe", "v4l2loopback", "exclusive_caps=1", "card_label=\"Lumora Capture\""};
    runner_.onRun = [&](const Line& argv) {
        if (argv.back() == modprobe.back()) system_.AddVideoDevice(4, "Lumora Capture");
    };
    // Without a desktop and without a terminal, sudo must not wait for a password.
    const std::pair<VcamSetupContext, Line> cases[] = {
        {{.graphicalSession = true}, {"pkexec"}}, {{}, {"sudo", "-n"}}, {{.isRoot = true}, {}}};
    for (const auto& [context, prefix] : cases) {
        fs::remove_all(system_.root() + "/sys/class");
        runner_.lines.clear();
        context_ = context;
        const SetupRun run = Run();
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("/dev/video4"), std::string::npos) << run.out;
        ASSERT_EQ(runner_.lines.size(), 2u);
        EXPECT_EQ(runner_.lines[0], (Line{"modinfo", "-F", "version", "v4l2loopback"}));
        Line expected = prefix;
        expected.insert(expected.end(), modprobe.begin(), modprobe.end());
        EXPECT_EQ(runner_.lines[1], expected);
    }
}

TEST_F(VcamSetup, ANewerModuleGetsOurDeviceAddedWithTheControlToolAndTheFormatFixed) {
    system_.LoadModule("0.13.2");
    system_.AddVideoDevice(0, "Integrated Camera");
    runner_.available.insert("v4l2loopback-ctl");
    runner_.results["v4l2loopback-ctl"] = {0, "/dev/video3\n"};
    context_.isRoot = true;
    const SetupRun run = Run({640, 480, 25, false});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<Line> expected = {
        {"v4l2loopback-ctl", "add", "-n", "Lumora Capture", "-x", "1"},
        {"v4l2loopback-ctl", "set-caps", "/dev/video3", "YUYV:640x480@25/1"},
        {"v4l2loopback-ctl", "set-fps", "/dev/video3", "25"},
    };
    EXPECT_EQ(runner_.lines, expected);
}

// An older module another program loaded is left alone, with advice; nothing is run when
// our device exists or the module is missing.
TEST_F(VcamSetup, AnOlderModuleIsLeftAloneWithAdviceAndNothingIsRunWhenTheDeviceExistsOrTheModuleIsMissing) {
    system_.LoadModule("0.12.7");
    system_.AddVideoDevice(2, "OBS-like Camera");
    SetupRun run = Run();
    EXPECT_EQ(std::tuple(run.status, runner_.lines.size()), std::tuple(1, 0u));
    for (const char* advice : {"sudo modprobe -r v4l2loopback", "--persist"})
        EXPECT_NE(run.err.find(advice), std::string::npos) << run.err;

    system_.AddVideoDevice(7, "Lumora Capture");
    run = Run();
    EXPECT_EQ(std::tuple(run.status, runner_.lines.size()), std::tuple(0, 0u));
    EXPECT_NE(run.out.find("already set up: /dev/video7"), std::string::npos) << run.out;

    fs::remove_all(system_.root() + "/sys");
    runner_.results["modinfo"] = {1, ""};
    run = Run();
    EXPECT_EQ(std::tuple(run.status, runner_.lines.size()), std::tuple(1, 1u));  // modinfo only
    EXPECT_NE(run.err.find("sudo apt install v4l2loopback-dkms"), std::string::npos) << run.err;
    EXPECT_EQ(Run({1279, 720, 30, false}).status, 2);  // odd width refused before anything runs
    EXPECT_EQ(runner_.lines.size(), 1u);
}

TEST_F(VcamSetup, PersistWritesTheBootFilesDirectlyAsRootOrThroughInstall) {
    system_.LoadModule("0.12.7");
    system_.AddVideoDevice(7, "Lumora Capture");
    test::TempDir etc;
    context_.etcFolder = etc.path().string();
    context_.isRoot = true;
    VcamSetupOptions options;
    options.persist = true;
    EXPECT_EQ(Run(options).status, 0);
    EXPECT_EQ(test::ReadFileText(etc.file("modprobe.d/lumora-vcam.conf")),
              "# Lumora's virtual camera (written by lumora-vcam setup --persist)\n"
              "options v4l2loopback exclusive_caps=1 card_label=\"Lumora Capture\"\n");
    EXPECT_EQ(test::ReadFileText(etc.file("modules-load.d/lumora-vcam.conf")),
              "# Lumora's virtual camera (written by lumora-vcam setup --persist)\nv4l2loopback\n");

    test::TempDir scratch;
    context_ = {.graphicalSession = true, .scratchFolder = scratch.path().string()};
    std::vector<std::string> staged;
    runner_.onRun = [&](const Line& argv) { staged.push_back(test::ReadFileText(argv[argv.size() - 2])); };
    EXPECT_EQ(Run(options).status, 0);
    ASSERT_EQ(runner_.lines.size(), 2u);
    EXPECT_EQ(Line(runner_.lines[0].begin(), runner_.lines[0].begin() + 5),
              (Line{"pkexec", "install", "-D", "-m", "0644"}));
    EXPECT_EQ(std::tuple(runner_.lines[0].back(), runner_.lines[1].back()),
              std::tuple("/etc/modprobe.d/lumora-vcam.conf", "/etc/modules-load.d/lumora-vcam.conf"));
    ASSERT_EQ(staged.size(), 2u);
    EXPECT_NE(staged[0].find("options v4l2loopback exclusive_caps=1"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(scratch.path()));  // the staged copies are gone
}

TEST(VcamStatus, ReportsModuleDeviceFormatAndWhoHoldsItOpenOrSaysThereIsNoneAndComparesVersionsByNumber) {
    FakeSystem system;
    system.LoadModule("0.12.7");
    system.AddVideoDevice(0, "Integrated Camera");
    system.AddVideoDevice(3, "Lumora Capture");
    system.AddProcess(4321, "firefox", "/dev/video3");
    system.AddProcess(99, "cheese", "/dev/video0");
    FakeLoopbackDevice::Options options;
    options.path = "/dev/video3";
    FakeLoopbackDevice device(options);
    LoopbackSysfs sysfs(system.root());
    std::ostringstream out;
    VcamStatusCommand status(
        sysfs, [&] { return device.NewHandle(); }, system.proc(), out);
    EXPECT_EQ(status.Run(), 0);
    const std::string text = out.str();
    for (const char* said : {"v4l2loopback 0.12.7 is loaded", "/dev/video3 \"Lumora Capture\"", "640x480 YUYV",
                             "waiting for a producer", "4321 (firefox)"})
        EXPECT_NE(text.find(said), std::string::npos) << said << " in\n" << text;
    EXPECT_EQ(text.find("cheese"), std::string::npos) << text;

    FakeSystem bare;
    LoopbackSysfs none(bare.root());
    std::ostringstream advice;
    VcamStatusCommand missing(
        none, [] { return std::unique_ptr<LoopbackDeviceIo>(); }, bare.proc(), advice);
    EXPECT_EQ(missing.Run(), 1);
    for (const char* said : {"v4l2loopback is not loaded", "lumora-vcam setup"})
        EXPECT_NE(advice.str().find(said), std::string::npos) << advice.str();

    // Versions compare by number, not by text.
    EXPECT_LT(CompareVersions("0.12.7", "0.13"), 0);
    EXPECT_GT(CompareVersions("0.13.2", "0.13"), 0);
    EXPECT_EQ(CompareVersions("0.13", "0.13.0"), 0);
    EXPECT_GT(CompareVersions("0.100", "0.13"), 0);
    EXPECT_LT(CompareVersions("", "0.13"), 0);
}

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

TEST(VcamDump, CountsGoodAndBadPacketsResynchronisesReportsCutStreamsAndMissingInputAndWritesPicturesUpright) {
    test::TempDir dir;
    const std::string input = dir.file("stream");
    WriteBytes(input, Concatenate({Bytes{'j', 'u', 'n', 'k'}, StreamWithACorruptPacketInTheMiddle(), Bytes{'D', 'O'}}));
    const DumpRun run = RunDump({input, "", "", 30});
    // Bad: the junk before the first packet, the corrupt packet, the half magic at the end.
    EXPECT_EQ(std::tuple(run.status, run.report.packets, run.report.badPackets, run.report.skippedBytes),
              std::tuple(1, 2u, 3u, 4u + (40 + 8 * 3 * 6) + 2u));
    EXPECT_EQ(std::tuple(run.report.sizes.at({8, 6}), run.report.sizes.at({10, 4})), std::tuple(1u, 1u));
    for (const char* said : {"bad marker", "packet 2 at byte "})
        EXPECT_NE(run.out.find(said), std::string::npos) << run.out;

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

    // The PNG files and the Y4M stream are the right way up.
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
    EXPECT_NEAR(bytes[head.size() + 3], test::ExpectedYuv(test::kRed).y, 2);           // top row
    EXPECT_NEAR(bytes[head.size() + 5 * 8 + 3], test::ExpectedYuv(test::kBlue).y, 2);  // bottom row
}

TEST(VcamToolArguments, CommandsAndTheirOptionsAreParsedAndMistakesRefused) {
    std::string error;
    auto setup =
        ParseVcamToolArguments({"setup", "--width", "640", "--height", "480", "--fps", "15", "--persist"}, &error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(setup->command, VcamToolArguments::Command::kSetup);
    EXPECT_EQ(std::tuple(setup->setup.width, setup->setup.height, setup->setup.framesPerSecond, setup->setup.persist),
              std::tuple(640, 480, 15, true));

    auto dump = ParseVcamToolArguments({"dump", "/tmp/fifo", "--y4m", "out.y4m"}, &error);
    ASSERT_TRUE(dump) << error;
    EXPECT_EQ(std::tuple(dump->dump.input, dump->dump.y4mFile), std::tuple("/tmp/fifo", "out.y4m"));

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump"}, {"dump", "a", "--png"}, {"status", "extra"}, {"frobnicate"}})
        EXPECT_FALSE(ParseVcamToolArguments(args, &error)) << args[0];
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
