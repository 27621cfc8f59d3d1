// `lumora-vcam setup`: first explains the two ways "Lumora Capture" reaches other programs
// (the PipeWire camera, which needs no setting up, and the v4l2loopback device), then makes
// sure a v4l2loopback device labelled "Lumora Capture" exists.
//
//   - It exists already: nothing to create.
//   - v4l2loopback 0.13 or later is loaded: `v4l2loopback-ctl add` adds our device (with
//     exclusive_caps, so browsers list it as a camera), and `set-caps` / `set-fps` give it
//     the size and rate asked for.
//   - The module is not loaded: it is loaded with card_label="Lumora Capture" and
//     exclusive_caps=1 (then, on 0.13 and later, the size and rate are set as above; on
//     0.12 Lumora sets them when it starts writing).
//   - An older module was loaded by another program without our label: it cannot take
//     another device while loaded, so the user is told what to do.
//   - The module is not installed: the user is told which package to install.
// Commands that need root run through pkexec (in a graphical session) or sudo (-n when
// there is no terminal, so nothing hangs waiting for a password) unless we are root.
// --persist writes <etc>/modprobe.d/lumora-vcam.conf and <etc>/modules-load.d/lumora-vcam.conf
// so the device comes back at every boot.
//
// Every command goes through the CommandRunner; the module state comes from LoopbackSysfs.
// One thread; the referenced objects must outlive the command.
#pragma once

#include "vcam/command_runner.h"
#include "vcam/loopback_sysfs.h"

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

namespace lumora {

struct VcamSetupOptions {
    int width = 1280;
    int height = 720;
    int framesPerSecond = 30;
    bool persist = false;
};

struct VcamSetupContext {
    bool isRoot = false;
    // A PipeWire daemon answers in this session (the PipeWire camera works without setup).
    bool pipeWireReachable = false;
    bool graphicalSession = false;  // pkexec can ask for the password
    bool interactive = false;       // sudo can ask on the terminal
    std::string etcFolder = "/etc";
    std::string scratchFolder = "/tmp";  // where files for privileged copies are staged
    std::chrono::milliseconds deviceWait{3000};  // for the device to appear after loading
};

class VcamSetupCommand {
public:
    VcamSetupCommand(const LoopbackSysfs& sysfs, CommandRunner& runner, VcamSetupContext context,
                     std::ostream& out, std::ostream& err);

    // 0 when the device exists afterwards (and the files were written when asked), else 1.
    int Run(const VcamSetupOptions& options);

    // `argv` as it must run to have root rights; empty when there is no way to get them.
    void ExplainBothWays();
    std::vector<std::string> Privileged(std::vector<std::string> argv);

private:
    int AddWithControlTool(const VcamSetupOptions& options);
    int LoadModule(const VcamSetupOptions& options, const std::string& version);
    void ApplyFormat(const std::string& node, const VcamSetupOptions& options);
    int RefuseLoadedModule(const std::string& version, const VcamSetupOptions& options);
    bool WaitForDevice(std::string* node);
    bool RunPrivileged(std::vector<std::string> argv, CommandResult* result = nullptr);
    int Persist();
    bool InstallFile(const std::string& text, const std::string& relativePath);
    int Finish(int status, const VcamSetupOptions& options);

    const LoopbackSysfs& sysfs_;
    CommandRunner& runner_;
    VcamSetupContext context_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace lumora
