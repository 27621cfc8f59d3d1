#include "vcam/vcam_setup_command.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace lumora {
namespace {

namespace fs = std::filesystem;

constexpr char kControlTool[] = "v4l2loopback-ctl";
constexpr char kModprobeFile[] = "modprobe.d/lumora-vcam.conf";
constexpr char kModulesLoadFile[] = "modules-load.d/lumora-vcam.conf";

std::string CardOption() { return std::string("card_label=\"") + kVirtualCameraName + "\""; }

std::string ModprobeText() {
    return "# Lumora's virtual camera (written by lumora-vcam setup --persist)\n"
           "options v4l2loopback exclusive_caps=1 " + CardOption() + "\n";
}

std::string ModulesLoadText() {
    return "# Lumora's virtual camera (written by lumora-vcam setup --persist)\nv4l2loopback\n";
}

std::string Trim(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

VcamSetupCommand::VcamSetupCommand(const LoopbackSysfs& sysfs, CommandRunner& runner, VcamSetupContext context,
                                   std::ostream& out, std::ostream& err)
    : sysfs_(sysfs), runner_(runner), context_(std::move(context)), out_(out), err_(err) {}

int VcamSetupCommand::Run(const VcamSetupOptions& options) {
    if (options.width < 2 || options.height < 2 || options.width % 2 || options.height % 2 ||
        options.framesPerSecond < 1 || options.framesPerSecond > 240) {
        err_ << "lumora-vcam setup: the size must be even and at least 2x2, the rate 1 to 240 frames per second\n";
        return 2;
    }
    ExplainBothWays();
    if (const auto device = sysfs_.FindByName(kVirtualCameraName)) {
        out_ << kVirtualCameraName << " is already set up: " << device->node << "\n";
        return Finish(0, options);
    }
    if (sysfs_.ModuleLoaded()) {
        const std::string version = sysfs_.ModuleVersion();
        if (CompareVersions(version, "0.13") >= 0 && runner_.IsAvailable(kControlTool)) {
            return Finish(AddWithControlTool(options), options);
        }
        return RefuseLoadedModule(version, options);
    }
    const CommandResult modinfo = runner_.Run({"modinfo", "-F", "version", "v4l2loopback"});
    if (modinfo.exitCode != 0) {
        err_ << "The v4l2loopback kernel module is not installed. Install it with\n"
                "    sudo apt install v4l2loopback-dkms linux-headers-$(uname -r)\n"
                "and run \"lumora-vcam setup\" again.\n";
        return 1;
    }
    return Finish(LoadModule(options, Trim(modinfo.output)), options);
}

void VcamSetupCommand::ExplainBothWays() {
    out_ << kVirtualCameraName << " reaches other programs in two ways:\n"
         << "  PipeWire: while Lumora runs it publishes the camera to PipeWire; nothing to set up. "
         << (context_.pipeWireReachable ? "PipeWire runs here.\n" : "No PipeWire daemon answers here.\n")
         << "  v4l2loopback: a kernel device, for programs that only know V4L2 cameras (set up now).\n";
}

std::vector<std::string> VcamSetupCommand::Privileged(std::vector<std::string> argv) {
    if (context_.isRoot) return argv;
    std::vector<std::string> line;
    if (context_.graphicalSession && runner_.IsAvailable("pkexec")) {
        line = {"pkexec"};
    } else if (runner_.IsAvailable("sudo")) {
        line = {"sudo"};
        if (!context_.interactive) line.push_back("-n");  // fail at once rather than wait for a password
    } else {
        return {};
    }
    line.insert(line.end(), argv.begin(), argv.end());
    return line;
}

bool VcamSetupCommand::RunPrivileged(std::vector<std::string> argv, CommandResult* result) {
    const std::vector<std::string> line = Privileged(argv);
    if (line.empty()) {
        err_ << "\"" << argv.front() << "\" needs root rights, and neither pkexec nor sudo is available: "
             << "run lumora-vcam setup as root.\n";
        return false;
    }
    CommandResult outcome = runner_.Run(line);
    const bool ok = outcome.exitCode == 0;
    if (!ok) err_ << "\"" << argv.front() << "\" failed (exit code " << outcome.exitCode << ").\n";
    if (result) *result = std::move(outcome);
    return ok;
}

int VcamSetupCommand::AddWithControlTool(const VcamSetupOptions& options) {
    CommandResult added;
    if (!RunPrivileged({kControlTool, "add", "-n", kVirtualCameraName, "-x", "1"}, &added)) return 1;
    std::string node = Trim(added.output);
    if (node.rfind("/dev/video", 0) != 0 && !WaitForDevice(&node)) {
        err_ << kControlTool << " did not create a \"" << kVirtualCameraName << "\" device.\n";
        return 1;
    }
    out_ << kVirtualCameraName << " created: " << node << "\n";
    ApplyFormat(node, options);
    return 0;
}

int VcamSetupCommand::LoadModule(const VcamSetupOptions& options, const std::string& version) {
    if (!RunPrivileged({"modprobe", "v4l2loopback", "exclusive_caps=1", CardOption()})) return 1;
    std::string node;
    if (!WaitForDevice(&node)) {
        err_ << "v4l2loopback was loaded, but no \"" << kVirtualCameraName << "\" device appeared.\n";
        return 1;
    }
    out_ << kVirtualCameraName << " created: " << node << "\n";
    if (CompareVersions(version, "0.13") >= 0 && runner_.IsAvailable(kControlTool)) {
        ApplyFormat(node, options);
    } else {
        out_ << "Lumora sets the picture size and rate when it starts writing to the device.\n";
    }
    return 0;
}

// Fixing the format lets capture programs see the size before Lumora starts; a failure
// here is not fatal, as Lumora sets a format itself.
void VcamSetupCommand::ApplyFormat(const std::string& node, const VcamSetupOptions& options) {
    const std::string caps = "YUYV:" + std::to_string(options.width) + "x" + std::to_string(options.height) + "@" +
                             std::to_string(options.framesPerSecond) + "/1";
    const bool capsSet = RunPrivileged({kControlTool, "set-caps", node, caps});
    const bool fpsSet = RunPrivileged({kControlTool, "set-fps", node, std::to_string(options.framesPerSecond)});
    if (capsSet && fpsSet) {
        out_ << "Format: " << caps << "\n";
    } else {
        out_ << "The format could not be fixed; Lumora sets it when it starts writing.\n";
    }
}

int VcamSetupCommand::RefuseLoadedModule(const std::string& version, const VcamSetupOptions& options) {
    err_ << "v4l2loopback " << (version.empty() ? "(unknown version)" : version) << " is already loaded, without a \""
         << kVirtualCameraName << "\" device, and this version cannot add\n"
         << "devices while it is loaded. Either close the programs using its cameras, run\n"
         << "    sudo modprobe -r v4l2loopback\n"
         << "and run \"lumora-vcam setup\" again; or run \"lumora-vcam setup --persist\" and restart the computer.\n";
    if (options.persist) {
        Persist();
        err_ << "If another program needs its own loopback device as well, list both in "
             << context_.etcFolder << "/" << kModprobeFile << " (devices=2 card_label=\"...,...\").\n";
    }
    return 1;
}

bool VcamSetupCommand::WaitForDevice(std::string* node) {
    const auto deadline = std::chrono::steady_clock::now() + context_.deviceWait;
    for (;;) {
        if (const auto device = sysfs_.FindByName(kVirtualCameraName)) {
            *node = device->node;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

int VcamSetupCommand::Finish(int status, const VcamSetupOptions& options) {
    if (status != 0 || !options.persist) return status;
    return Persist();
}

int VcamSetupCommand::Persist() {
    const bool ok = InstallFile(ModprobeText(), kModprobeFile) && InstallFile(ModulesLoadText(), kModulesLoadFile);
    if (ok) {
        out_ << "Written " << context_.etcFolder << "/" << kModprobeFile << " and " << context_.etcFolder << "/"
             << kModulesLoadFile << ": the device comes back at every boot.\n";
    }
    return ok ? 0 : 1;
}

// As root the file is written in place; otherwise it is staged in a private folder (mode
// 0700, so nobody can swap it before root copies it) and copied with `install` through
// pkexec or sudo.
bool VcamSetupCommand::InstallFile(const std::string& text, const std::string& relativePath) {
    const fs::path target = fs::path(context_.etcFolder) / relativePath;
    fs::path staged = target;
    std::error_code error;
    if (!context_.isRoot) {
        std::string folder = (fs::path(context_.scratchFolder) / "lumora-vcam-XXXXXX").string();
        if (!::mkdtemp(folder.data())) {
            err_ << "cannot create a folder in " << context_.scratchFolder << "\n";
            return false;
        }
        staged = fs::path(folder) / target.filename();
    }
    fs::create_directories(staged.parent_path(), error);
    {
        std::ofstream out(staged, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            err_ << "cannot write " << staged.string() << "\n";
            return false;
        }
    }
    if (context_.isRoot) return true;
    const bool ok = RunPrivileged({"install", "-D", "-m", "0644", staged.string(), target.string()});
    fs::remove_all(staged.parent_path(), error);
    return ok;
}

}  // namespace lumora
