#include "cli/run_session.h"

#include "cli/effect_activation.h"
#include "cli/listings.h"
#include "effects/all_builtin_effects.h"
#include "platform/program_paths.h"
#include "platform/app_events.h"
#include "platform/message_presenter.h"
#include "tools/snapshot_names.h"
#include "video/capture_device_list.h"
#include "video/frame_copy.h"

#include <lumora/zimage.h>

#include <QCoreApplication>
#include <QString>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace lumora::cli {
namespace {

constexpr int kTickMilliseconds = 100;
constexpr qint64 kProgressMilliseconds = 1000;

// A packet file is started empty; a FIFO or a device is used as it is.
bool PrepareOutputFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return true;
    std::ofstream create(path, std::ios::binary | std::ios::trunc);
    return create.good();
}

bool SameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

RunSession::RunSession(const RunOptions& options, std::ostream& err)
    : options_(options), err_(err), effects_(ProgramFolder(), CreateAllBuiltinEffects) {
    MessagePresenter::Instance().SetHook([this](const MessageRequest& message) {
        Say(message.text);
        return id::kOk;
    });
    ticks_.setInterval(kTickMilliseconds);
    connect(&ticks_, &QTimer::timeout, this, [this] { OnTick(); });
}

RunSession::~RunSession() {
    gate_.Open();
    graph_.Teardown(true, true);
    effects_.UnloadEffects();
    MessagePresenter::Instance().SetHook({});
}

int RunSession::Exec() {
    if (const int code = Setup(); code != kExitDone) {
        Finish(code);
        return exitCode_;
    }
    clock_.start();
    ticks_.start();
    if (!graph_.Run()) {
        Say(graph_.StreamError().empty() ? "The source did not start." : graph_.StreamError());
        Finish(kExitFailed);
        return exitCode_;
    }
    QCoreApplication::exec();
    return exitCode_;
}

int RunSession::Setup() {
    devices_.EnumerateCaptureDevices();
    effects_.LoadEffects();
    store_.SetProcessor(&effects_);
    graph_.Initialize(nullptr, this);
    graph_.SetRealTime(!options_.fast);
    if (options_.fast) graph_.SetHandOffGate([this] { gate_.Pass(); });
    if (const int code = ActivateEffects(); code != kExitDone) return code;
    if (options_.cycleSeconds) cycler_.emplace(effects_, devices_, *options_.cycleSeconds);
    if (const int code = SelectCodec(); code != kExitDone) return code;
    if (!source_.Prepare()) {
        Say(source_.Error());
        return kExitUsage;
    }
    if (!OpenOutput()) return kExitFailed;
    if (!source_.SelectFirst()) {
        if (!source_.Error().empty()) Say(source_.Error());
        return kExitFailed;
    }
    return kExitDone;
}

bool RunSession::OpenOutput() {
    const std::string& output = options_.output;
    if (output == "none") return true;
    std::string path = output;
    if (output == "vcam") {
        const std::optional<std::string> found = devices_.FindDevicePathByName(kVirtualCameraName);
        if (!found) {
            Say(std::string("The virtual camera \"") + kVirtualCameraName +
                "\" is not set up (lumora-vcam setup); choose --output <file> or --output none.");
            return false;
        }
        path = *found;
    } else if (!PrepareOutputFile(path)) {
        Say("Cannot create " + path + ".");
        return false;
    }
    if (!link_.Open(path)) {
        Say("Cannot open " + path + " for the video.");
        return false;
    }
    return true;
}

int RunSession::ActivateEffects() {
    if (options_.locator) EffectActivation::SetLocator(effects_, *options_.locator);
    for (const EffectRequest& request : options_.effects) {
        const EffectActivation::Outcome outcome = EffectActivation::Activate(effects_, request, devices_);
        if (outcome.result == EffectActivation::Result::kUnknown) {
            Say(outcome.text);
            return kExitUsage;
        }
        if (outcome.result == EffectActivation::Result::kFailed) {
            Say(outcome.text);
            return kExitFailed;
        }
    }
    return kExitDone;
}

int RunSession::SelectCodec() {
    if (options_.recordFile.empty()) return kExitDone;
    CompressorList& compressors = graph_.Compressors();
    compressors.SetSelected(-1);
    const std::string codec = options_.codec.value_or("none");
    if (codec != "none") {
        int found = -1;
        for (int i = 0; i < compressors.Count() && found < 0; ++i) {
            GstElementFactory* factory = compressors.FindCompressor(i);
            if (SameName(codec, compressors.NameAt(i)) || (factory && SameName(codec, GST_OBJECT_NAME(factory)))) found = i;
            if (factory) gst_object_unref(factory);
        }
        if (found < 0) {
            Say("unknown codec \"" + codec + "\" (lumora-cli codecs lists them)");
            return kExitUsage;
        }
        compressors.SetSelected(found);
    }
    graph_.RecordNextBuild(options_.recordFile);
    return kExitDone;
}

bool RunSession::event(QEvent* event) {
    switch (static_cast<int>(event->type())) {
        case MSG_FRAME_READY: OnFrame(); return true;
        case MSG_GRAPH_EVENT: OnGraphEvent(); return true;
        default: return QObject::event(event);
    }
}

void RunSession::OnFrame() {
    if (finished_) return;
    output_.SendFrameToVirtualCamera();
    ++frames_;
    gate_.Taken();
    if (options_.frames && frames_ >= static_cast<std::uint64_t>(*options_.frames)) Finish(kExitDone);
}

// The end of a file plays the next one; an error of the running source ends the run.
void RunSession::OnGraphEvent() {
    if (finished_) return;
    const bool ended = graph_.PollCompletion();
    if (!graph_.StreamError().empty()) {
        Say(graph_.StreamError());
        Finish(kExitFailed);
        return;
    }
    if (!ended) return;
    if (source_.SelectNext() && graph_.Run()) return;
    Finish(source_.Failures() > 0 ? kExitFailed : kExitDone);
}

void RunSession::OnTick() {
    if (finished_) return;
    if (termination_.Raised() || (options_.seconds && clock_.elapsed() >= *options_.seconds * 1000)) {
        Finish(kExitDone);
        return;
    }
    OnGraphEvent();
    if (finished_) return;
    const qint64 now = clock_.elapsed();
    if (cycler_) {
        if (const std::optional<std::string> line = cycler_->Advance(static_cast<double>(now) / 1000)) Say(*line);
    }
    if (now - lastTick_ >= kProgressMilliseconds) {
        Say(progress_.Tick(frames_, graph_.GrabberFrames().refused, static_cast<double>(now - lastTick_) / 1000));
        lastTick_ = now;
    }
}

void RunSession::Finish(int exitCode) {
    if (finished_) return;
    finished_ = true;
    exitCode_ = exitCode;
    ticks_.stop();
    gate_.Open();
    const std::uint64_t dropped = graph_.GrabberFrames().refused;
    if (!options_.snapshotFolder.empty() && exitCode == kExitDone) SaveSnapshot();
    graph_.Teardown(true, true);
    if (clock_.isValid()) Say(ProgressReport::Summary(frames_, dropped, static_cast<double>(clock_.elapsed()) / 1000));
    if (link_.IsOpen() && options_.output != "vcam") Say("lumora-cli: packets written to " + options_.output);
    if (!options_.recordFile.empty() && exitCode_ == kExitDone) ReportRecording();
    QCoreApplication::exit(exitCode_);
}

void RunSession::SaveSnapshot() {
    const std::filesystem::path folder(options_.snapshotFolder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::optional<int> number = SnapshotNames::FindFree(folder, 0);
    FrameCopy copy;
    store_.CopyCurrent(&copy);
    if (!number || !copy.pixels) {
        Say(!number ? "No free snapshot number is left in " + folder.string() + "." : "There is no frame to save.");
        exitCode_ = kExitFailed;
        return;
    }
    const std::string path = (folder / SnapshotNames::FileName(*number)).string();
    if (ZImage_SaveJpeg2(path.c_str(), copy.pixels.get(), copy.width, copy.height) == 0) {
        Say("Cannot save the snapshot " + path + ".");
        exitCode_ = kExitFailed;
        return;
    }
    Say("lumora-cli: snapshot saved as " + path);
}

// A recording that holds nothing is a failure, whatever the graph said.
void RunSession::ReportRecording() {
    std::error_code error;
    const auto size = std::filesystem::file_size(options_.recordFile, error);
    if (error || size == 0) {
        Say("Nothing was recorded into " + options_.recordFile + ".");
        exitCode_ = kExitFailed;
        return;
    }
    Say("lumora-cli: recorded " + options_.recordFile);
}

void RunSession::Say(const std::string& line) { err_ << line << std::endl; }

}  // namespace lumora::cli
