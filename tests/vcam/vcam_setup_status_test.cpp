#include "vcam/fake_loopback_device.h"
#include "vcam/vcam_setup_command.h"
#include "vcam/vcam_status_command.h"
#include "test_support.h"

#include <gtest/gtest.h>

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
        while (program < argv.size() && (argv[program] == "pkexec" || argv[program] == "sudo" || argv[program] == "-n")) {
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

TEST_F(VcamSetup, AnOlderModuleLoadedByAnotherProgramIsLeftAloneWithAdvice) {
    system_.LoadModule("0.12.7");
    system_.AddVideoDevice(2, "OBS-like Camera");
    const SetupRun run = Run();
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(runner_.lines.empty());
    EXPECT_NE(run.err.find("sudo modprobe -r v4l2loopback"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--persist"), std::string::npos) << run.err;
}

TEST_F(VcamSetup, NothingIsRunWhenTheDeviceExistsOrTheModuleIsMissing) {
    system_.LoadModule("0.12.7");
    system_.AddVideoDevice(7, "Lumora Capture");
    SetupRun run = Run();
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("already set up: /dev/video7"), std::string::npos) << run.out;
    EXPECT_TRUE(runner_.lines.empty());

    fs::remove_all(system_.root() + "/sys");
    runner_.results["modinfo"] = {1, ""};
    run = Run();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("sudo apt install v4l2loopback-dkms"), std::string::npos) << run.err;
    EXPECT_EQ(runner_.lines.size(), 1u);  // modinfo only
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
    EXPECT_EQ(runner_.lines[0][0], "pkexec");
    EXPECT_EQ(Line(runner_.lines[0].begin() + 1, runner_.lines[0].begin() + 5), (Line{"install", "-D", "-m", "0644"}));
    EXPECT_EQ(runner_.lines[0].back(), "/etc/modprobe.d/lumora-vcam.conf");
    EXPECT_EQ(runner_.lines[1].back(), "/etc/modules-load.d/lumora-vcam.conf");
    ASSERT_EQ(staged.size(), 2u);
    EXPECT_NE(staged[0].find("options v4l2loopback exclusive_caps=1"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(scratch.path()));  // the staged copies are gone
}

TEST(VcamStatus, ReportsModuleDeviceFormatAndWhoHoldsItOpenOrSaysThereIsNone) {
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
    VcamStatusCommand status(sysfs, [&] { return device.NewHandle(); }, system.proc(), out);
    EXPECT_EQ(status.Run(), 0);
    const std::string text = out.str();
    EXPECT_NE(text.find("v4l2loopback 0.12.7 is loaded"), std::string::npos) << text;
    EXPECT_NE(text.find("/dev/video3 \"Lumora Capture\""), std::string::npos) << text;
    EXPECT_NE(text.find("640x480 YUYV"), std::string::npos) << text;
    EXPECT_NE(text.find("waiting for a producer"), std::string::npos) << text;
    EXPECT_NE(text.find("4321 (firefox)"), std::string::npos) << text;
    EXPECT_EQ(text.find("cheese"), std::string::npos) << text;

    FakeSystem bare;
    LoopbackSysfs none(bare.root());
    std::ostringstream advice;
    VcamStatusCommand missing(
        none, [] { return std::unique_ptr<LoopbackDeviceIo>(); }, bare.proc(), advice);
    EXPECT_EQ(missing.Run(), 1);
    EXPECT_NE(advice.str().find("v4l2loopback is not loaded"), std::string::npos);
    EXPECT_NE(advice.str().find("lumora-vcam setup"), std::string::npos);
}

TEST(VcamStatus, VersionsCompareByNumberNotByText) {
    EXPECT_LT(CompareVersions("0.12.7", "0.13"), 0);
    EXPECT_GT(CompareVersions("0.13.2", "0.13"), 0);
    EXPECT_EQ(CompareVersions("0.13", "0.13.0"), 0);
    EXPECT_GT(CompareVersions("0.100", "0.13"), 0);
    EXPECT_LT(CompareVersions("", "0.13"), 0);
}

}  // namespace
}  // namespace lumora
