// lumora-cli: Lumora without a window — lists devices, compressors and effects, and runs a
// source through the effects to the virtual camera, a packet file or nowhere.

#include "cli/cli_arguments.h"
#include "cli/listings.h"
#include "cli/run_session.h"
#include "cli/run_signals.h"
#include "effects/all_builtin_effects.h"
#include "effects/effect_chain.h"
#include "platform/program_paths.h"
#include "video/capture_device_list.h"
#include "video/compressor_list.h"

#include <QGuiApplication>

#include <gst/gst.h>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using lumora::cli::CliArguments;
using lumora::cli::RunSession;

// `runSignals`: answering for a run, null for the other commands.
int RunCommand(const CliArguments& arguments, lumora::cli::RunSignals* runSignals) {
    switch (arguments.command) {
        case CliArguments::Command::kHelp: std::cout << CliArguments::Usage(); return RunSession::kExitDone;
        case CliArguments::Command::kDevices: {
            lumora::CaptureDeviceList devices;
            devices.EnumerateCaptureDevices();
            lumora::cli::ListDevices(devices, std::cout);
            return RunSession::kExitDone;
        }
        case CliArguments::Command::kCodecs: {
            lumora::CompressorList compressors;
            compressors.EnumerateCompressors();
            lumora::cli::ListCodecs(compressors, std::cout);
            return RunSession::kExitDone;
        }
        case CliArguments::Command::kEffects: {
            lumora::EffectChain effects(lumora::ProgramFolder(), lumora::CreateAllBuiltinEffects);
            effects.LoadEffects();
            lumora::cli::ListEffects(effects, std::cout);
            effects.UnloadEffects();
            return RunSession::kExitDone;
        }
        case CliArguments::Command::kRun: {
            RunSession session(arguments.run, *runSignals, std::cerr);
            return session.Exec();
        }
    }
    return RunSession::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const CliArguments arguments = CliArguments::Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments.error.empty()) {
        std::cerr << "lumora-cli: " << arguments.error << "\n" << CliArguments::Usage();
        return RunSession::kExitUsage;
    }
    // A signal ends a run within a second from here on, whatever it is doing.
    std::optional<lumora::cli::RunSignals> runSignals;
    if (arguments.command == CliArguments::Command::kRun) runSignals.emplace();
    // Headless: pictures and text are drawn without a display server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    gst_init(&argc, &argv);
    const int code = RunCommand(arguments, runSignals ? &*runSignals : nullptr);
    gst_deinit();
    return code;
}
