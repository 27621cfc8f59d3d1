// lumora-vcam: creates and checks Lumora's virtual camera (a v4l2loopback device labelled
// "Lumora Capture", and the PipeWire camera of that name) and reads the packet streams Lumora writes. See vcam_tool_arguments.h
// for the command line.
#include "vcam/fd_loopback_device_io.h"
#include "vcam/loopback_sysfs.h"
#include "vcam/pipewire_daemon.h"
#include "vcam/process_command_runner.h"
#include "vcam/termination_signal_flag.h"
#include "vcam/vcam_dump_command.h"
#include "vcam/vcam_setup_command.h"
#include "vcam/vcam_status_command.h"
#include "vcam/vcam_tool_arguments.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace {

bool HasGraphicalSession() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

int RunSetup(const lumora::VcamSetupOptions& options) {
    lumora::LoopbackSysfs sysfs;
    lumora::ProcessCommandRunner runner;
    lumora::VcamSetupContext context;
    context.isRoot = ::geteuid() == 0;
    context.graphicalSession = HasGraphicalSession();
    context.interactive = ::isatty(STDIN_FILENO) != 0;
    context.pipeWireReachable = lumora::PipeWireDaemonReachable();
    const char* scratch = std::getenv("TMPDIR");
    if (scratch && *scratch) context.scratchFolder = scratch;
    return lumora::VcamSetupCommand(sysfs, runner, context, std::cout, std::cerr).Run(options);
}

int RunStatus() {
    lumora::LoopbackSysfs sysfs;
    lumora::VcamStatusCommand status(
        sysfs, [] { return std::make_unique<lumora::FdLoopbackDeviceIo>(); }, "/proc", std::cout,
        [] { return lumora::SurveyPipeWireCamera(); });
    return status.Run();
}

int RunDump(const lumora::VcamDumpOptions& options) {
    lumora::TerminationSignalFlag stop;  // Ctrl+C ends a dump of a FIFO cleanly
    return lumora::VcamDumpCommand(std::cout, std::cerr, &stop).Run(options);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto parsed = lumora::ParseVcamToolArguments(args, &error);
    if (!parsed) {
        std::cerr << "lumora-vcam: " << error << "\n" << lumora::kVcamToolUsage;
        return 2;
    }
    switch (parsed->command) {
    case lumora::VcamToolArguments::Command::kStatus: return RunStatus();
    case lumora::VcamToolArguments::Command::kSetup: return RunSetup(parsed->setup);
    case lumora::VcamToolArguments::Command::kDump: return RunDump(parsed->dump);
    case lumora::VcamToolArguments::Command::kHelp: break;
    }
    std::cout << lumora::kVcamToolUsage;
    return 0;
}
