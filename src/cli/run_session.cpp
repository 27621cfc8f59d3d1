#include "cli/run_session.h"

#include "cli/effect_activation.h"
#include "frames/frame_copy.h"
#include "platform/app_events.h"
#include "platform/message_presenter.h"
#include "tools/snapshot_names.h"

#include <lumora/zimage.h>

#include <QCoreApplication>
#include <QString>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace lumora::cli {
namespace {

constexpr int kTickMilliseconds = 100;
constexpr qint64 kProgressMilliseconds = 1000;

bool SameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

RunSession::RunSession(const RunOptions& options, RunSignals& runSignals, std::ostream& err)
        : options_(options),
          signals_(runSignals),
          err_(err),
          session_(Session::Setup{.eventTarget = this}),
          budget_(options.frames),
          source_(options_, devices_, graph_,
                  [this](const std::string& path) { Say("lumora-cli: cannot play " + path); }) {
    MessagePresenter::Instance().SetHook([this](const MessageRequest& message) {
        Say(message.text);
        return id::kOk;
    });
    graph_.SetPipelineObserver([this](GstElement* pipeline, GstElement* grabber) {
        recording_.Watch(pipeline);
        budget_.Attach(grabber);
    });
    ticks_.setInterval(kTickMilliseconds);
    connect(&ticks_, &QTimer::timeout, this, [this] { OnTick(); });
    if (signals_.WakeDescriptor() >= 0) {
        signalWake_ = std::make_unique<QSocketNotifier>(signals_.WakeDescriptor(), QSocketNotifier::Read);
        connect(signalWake_.get(), &QSocketNotifier::activated, this, [this] { OnSignal(); });
    }
}

RunSession::~RunSession() {
    gate_.Open();
    budget_.Close();
    session_.Shutdown();
    MessagePresenter::Instance().SetHook({});
}

int RunSession::Exec() {
    if (const int code = Setup(); code != kExitDone) {
        Finish(code);
        return exitCode_;
    }
    clock_.start();
    if (!graph_.Run()) {
        Say(graph_.StreamError().empty() ? "The source did not start." : graph_.StreamError());
        Finish(kExitFailed);
        return exitCode_;
    }
    state_ = State::kRunning;
    signals_.Answer(RunSignals::Response::kStopCleanly, "stopping");
    ticks_.start();
    QCoreApplication::exec();
    return exitCode_;
}

// Nothing here can be stopped cleanly: each step tells RunSignals what a signal interrupts.
int RunSession::Setup() {
    signals_.Answer(RunSignals::Response::kExitAtOnce, "loading the settings and the effects");
    session_.EnumerateDevices();
    session_.Initialize();
    graph_.SetRealTime(!options_.fast);
    if (options_.fast) graph_.SetHandOffGate([this] { gate_.Pass(); });
    if (const int code = ActivateEffects(); code != kExitDone) return code;
    if (options_.cycleSeconds) cycler_.emplace(effects_, devices_, *options_.cycleSeconds);
    if (const int code = SelectCodec(); code != kExitDone) return code;
    signals_.Answer(RunSignals::Response::kExitAtOnce, "reading the playlist");
    if (!source_.Prepare()) {
        Say(source_.Error());
        return kExitUsage;
    }
    signals_.Answer(RunSignals::Response::kExitAtOnce, "opening the output");
    if (!OpenOutput()) return kExitFailed;
    signals_.Answer(RunSignals::Response::kExitAtOnce, "starting the source");
    if (!source_.SelectFirst()) {
        if (!source_.Error().empty()) Say(source_.Error());
        return kExitFailed;
    }
    return kExitDone;
}

bool RunSession::OpenOutput() {
    if (PacketOutput::IsFifo(options_.output)) Say("lumora-cli: waiting for a reader of " + options_.output);
    if (!output_.Open(options_.output, session_.Link(), devices_)) {
        Say(output_.Failure());
        return false;
    }
    // A batch run delivers every frame: a FIFO's reader sets the pace, until a signal.
    if (options_.fast) output_.SetPatience([this] { return !signals_.Raised(); });
    return true;
}

int RunSession::ActivateEffects() {
    if (options_.locator) EffectActivation::SetLocator(effects_, *options_.locator);
    for (const EffectRequest& request : options_.effects) {
        const EffectActivation::Outcome outcome = EffectActivation::Activate(effects_, request, devices_);
        if (outcome.result == EffectActivation::Result::kUnknown) {
            Say("lumora-cli: " + outcome.text);
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
            Say("lumora-cli: unknown codec \"" + codec + "\" (lumora-cli codecs lists them)");
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

// While stopping, the frames handed off before the stop still go out, with no limit check.
void RunSession::OnFrame() {
    if (state_ != State::kRunning && state_ != State::kStopping) return;
    if (!outputFailed_) {
        switch (output_.Write(store_)) {
            case PacketOutput::Result::kWritten: ++delivered_; break;
            case PacketOutput::Result::kDropped: ++notTaken_; break;
            case PacketOutput::Result::kRepeat: break;
            case PacketOutput::Result::kFailed:
                outputFailed_ = true;
                Say(output_.Failure());
                break;
        }
    }
    gate_.Taken();
    if (state_ != State::kRunning) return;
    if (outputFailed_) {
        Finish(kExitFailed);
    } else if (budget_.Spent()) {
        Finish(kExitDone);
    }
}

// The end of a file plays the next one; an error of the running source ends the run.
void RunSession::OnGraphEvent() {
    if (state_ != State::kRunning) return;
    const bool ended = graph_.PollCompletion();
    if (!graph_.StreamError().empty()) {
        ReportStreamError();
        Finish(kExitFailed);
        return;
    }
    if (ended) PlayNextFile();
}

// A failed recording is told once, with its reason, when the run ends.
void RunSession::ReportStreamError() {
    if (!recording_.Failure().empty()) return;
    const std::optional<std::string> file = source_.CurrentFile();
    Say(file ? "lumora-cli: " + *file + ": " + graph_.StreamError() : graph_.StreamError());
}

void RunSession::PlayNextFile() {
    QCoreApplication::sendPostedEvents(this, MSG_FRAME_READY);  // this file's last frames first
    if (state_ != State::kRunning) return;
    if (signals_.Raised()) {
        OnSignal();
        return;
    }
    if (budget_.Spent()) {
        Finish(kExitDone);
        return;
    }
    lostBefore_ += LostInGraph();
    signals_.Answer(RunSignals::Response::kExitAtOnce, "starting the next file");
    const bool selected = source_.SelectNext();
    const bool running = selected && graph_.Run();
    signals_.Answer(RunSignals::Response::kStopCleanly, "stopping");
    if (selected && !running) Say("The source did not start.");
    if (!running) Finish(source_.Failures() > 0 || selected ? kExitFailed : kExitDone);
}

void RunSession::OnTick() {
    if (state_ != State::kRunning) return;
    if (signals_.Raised()) {
        OnSignal();
        return;
    }
    if (budget_.Spent() || (options_.seconds && clock_.elapsed() >= *options_.seconds * 1000)) {
        Finish(kExitDone);
        return;
    }
    OnGraphEvent();
    if (state_ != State::kRunning) return;
    const qint64 now = clock_.elapsed();
    if (cycler_) {
        if (const std::optional<std::string> line = cycler_->Advance(static_cast<double>(now) / 1000)) Say(*line);
    }
    if (now - lastTick_ >= kProgressMilliseconds) {
        Say(progress_.Tick(delivered_, lostBefore_ + LostInGraph() + Unsent(),
                           static_cast<double>(now - lastTick_) / 1000));
        lastTick_ = now;
    }
}

void RunSession::OnSignal() {
    char drained[16];
    while (::read(signals_.WakeDescriptor(), drained, sizeof drained) > 0) {
    }
    if (state_ != State::kRunning || !signals_.Raised()) return;
    Say(std::string("lumora-cli: ") + RunSignals::Name(signals_.Signal()) + ": stopping");
    Finish(kExitDone);
}

void RunSession::Finish(int exitCode) {
    if (state_ == State::kStopping || state_ == State::kFinished) return;
    state_ = State::kStopping;
    exitCode_ = exitCode;
    ticks_.stop();
    StopSource();
    state_ = State::kFinished;
    if (clock_.isValid()) {
        Say(ProgressReport::Summary(delivered_, lost_ + Unsent(), static_cast<double>(clock_.elapsed()) / 1000));
    }
    exitCode_ = Verdict(exitCode_);
    signals_.StopFinished();
    QCoreApplication::exit(exitCode_);
}

// No frame enters from here on; a recording ends behind the last one that did; the frames
// handed off before are sent once every streaming thread has stopped.
void RunSession::StopSource() {
    gate_.Open();
    budget_.Close();
    if (graph_.Stop()) graph_.PollCompletion();
    lost_ = lostBefore_ + LostInGraph();
    graph_.Teardown(true, true);
    QCoreApplication::sendPostedEvents(this, MSG_FRAME_READY);
}

// Frames of the running graph that never reached the hand-off: skipped before the grabber
// (a camera's or a decoder's drops, by the time stamps) or refused by the hand-off.
std::uint64_t RunSession::LostInGraph() const {
    const GrabberStatistics frames = graph_.GrabberFrames();
    return frames.refused + frames.missed;
}

// Frames handed off that never went out: replaced in the store before they were sent, or
// not taken by the output.
std::uint64_t RunSession::Unsent() {
    const FrameStore::Lock lock = store_.WaitLock();
    return store_.Overwritten(lock) + notTaken_;
}

// The exit code once everything is written: a run is a failure when anything it was to
// write was not, or when no frame reached the output.
int RunSession::Verdict(int exitCode) {
    if (outputFailed_) exitCode = kExitFailed;
    if (!options_.recordFile.empty() && !CheckRecording()) exitCode = kExitFailed;
    if (exitCode != kExitDone || !clock_.isValid()) return exitCode;
    if (delivered_ == 0) {
        Say("lumora-cli: no frame was delivered");
        return kExitFailed;
    }
    if (!options_.snapshotFolder.empty() && !SaveSnapshot()) return kExitFailed;
    if (!PacketOutput::IsVirtualCamera(options_.output) && options_.output != "none") {
        Say("lumora-cli: " + std::to_string(delivered_) + " packets written to " + options_.output);
    }
    if (!options_.recordFile.empty()) Say("lumora-cli: recorded " + options_.recordFile);
    return kExitDone;
}

bool RunSession::SaveSnapshot() {
    const std::filesystem::path folder(options_.snapshotFolder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        Say("Cannot create the snapshot folder " + folder.string() + ": " +
            (error ? error.message() : std::strerror(ENOTDIR)));
        return false;
    }
    const std::optional<int> number = SnapshotNames::FindFree(folder, 0);
    FrameCopy copy;
    store_.CopyCurrent(&copy);
    if (!number || !copy.pixels) {
        Say(!number ? "No free snapshot number is left in " + folder.string() + "." : "There is no frame to save.");
        return false;
    }
    const std::string path = (folder / SnapshotNames::FileName(*number)).string();
    errno = 0;
    if (ZImage_SaveJpeg2(path.c_str(), copy.pixels.get(), copy.width, copy.height) == 0) {
        const int reason = errno;
        Say("Cannot save the snapshot " + path + (reason != 0 ? std::string(": ") + std::strerror(reason) : "."));
        return false;
    }
    Say("lumora-cli: snapshot saved as " + path);
    return true;
}

// A recording the writer failed on, or that holds nothing, is a failure whatever the graph said.
bool RunSession::CheckRecording() {
    const std::string& file = options_.recordFile;
    if (const std::string failure = recording_.Failure(); !failure.empty()) {
        Say("Cannot write the recording " + file + ": " + failure);
        return false;
    }
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (std::filesystem::is_regular_file(status) && std::filesystem::file_size(file, error) == 0) {
        Say("Nothing was recorded into " + file + ".");
        return false;
    }
    if (!std::filesystem::exists(status) && delivered_ > 0) {
        Say("Nothing was recorded into " + file + ".");
        return false;
    }
    return true;
}

void RunSession::Say(const std::string& line) { err_ << line << std::endl; }

}  // namespace lumora::cli
