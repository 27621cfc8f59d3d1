// RunSession: `lumora-cli run` — one source through the source graph and the effect chain
// to the output (the virtual camera, a packet file or FIFO, or nothing), on the Session the
// windowed program runs on, without a window. What is the command line's own lives here:
// the options, the progress line, the signals, the gate and the packet output.
//
// The session is the frame store's target: each MSG_FRAME_READY sends the current frame
// to the output (PacketOutput) and counts it; MSG_GRAPH_EVENT tells that a file ended (the
// next file then plays). A timer writes the progress line once a second and watches
// --seconds and stream errors; a termination signal wakes the loop at once (RunSignals).
//
// The stop: no frame enters the grabber any more (FrameBudget), a recording is ended behind
// the last frame that did, the graph is torn down, and the frames handed off before the stop
// still go out — so the recording and the output hold the same frames. Then the last frame
// is saved as a snapshot when asked and the summary is written.
//
// Messages the application would show in a box are written to stderr as they are. Exit
// codes: 0 done; 1 the source, the output, the recording, a snapshot or an effect failed, or
// no frame was delivered; 2 a usage error found only now (an unknown effect or codec). A
// signal while streaming stops the run as above (0 when it went well); in any other phase
// RunSignals ends the process at once (130 for SIGINT, 143 for SIGTERM).
//
// Thread: user-interface thread (needs a Qt application object and gst_init()).
// Lifetime: Exec once; the session is shut down (the graph torn down) before the gate and
// the budget, which the graph calls, are destroyed.
#pragma once

#include "cli/cli_arguments.h"
#include "cli/effect_cycler.h"
#include "cli/frame_budget.h"
#include "cli/frame_gate.h"
#include "cli/packet_output.h"
#include "cli/progress_report.h"
#include "cli/recording_watch.h"
#include "cli/run_signals.h"
#include "cli/source_selection.h"
#include "session/session.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>

namespace lumora::cli {

class RunSession : public QObject {
public:
    static constexpr int kExitDone = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitUsage = 2;

    // `runSignals` must be answering from before the session is made (settings and plug-ins
    // load here) until after it is gone.
    RunSession(const RunOptions& options, RunSignals& runSignals, std::ostream& err);
    ~RunSession() override;

    // Runs until the end; the exit code.
    int Exec();

protected:
    bool event(QEvent* event) override;

private:
    enum class State { kStarting, kRunning, kStopping, kFinished };

    int Setup();
    bool OpenOutput();
    int ActivateEffects();
    int SelectCodec();
    void OnFrame();
    void OnGraphEvent();
    void ReportStreamError();
    void PlayNextFile();
    void OnTick();
    void OnSignal();
    void Finish(int exitCode);
    void StopSource();
    int Verdict(int exitCode);
    std::uint64_t LostInGraph() const;
    std::uint64_t Unsent();
    bool SaveSnapshot();
    bool CheckRecording();
    void Say(const std::string& line);

    const RunOptions& options_;
    RunSignals& signals_;
    std::ostream& err_;

    Session session_;
    FrameStore& store_ = session_.Store();
    CaptureDeviceList& devices_ = session_.Devices();  // listed once by Setup: what device numbers count in
    EffectChain& effects_ = session_.Effects();
    SourceGraph& graph_ = session_.Graph();
    PacketOutput output_;
    FrameGate gate_;
    FrameBudget budget_;
    RecordingWatch recording_;
    SourceSelection source_;
    std::optional<EffectCycler> cycler_;  // --cycle-effects

    std::unique_ptr<QSocketNotifier> signalWake_;
    QTimer ticks_;
    QElapsedTimer clock_;
    qint64 lastTick_ = 0;
    ProgressReport progress_;
    State state_ = State::kStarting;
    std::uint64_t delivered_ = 0;      // frames that reached the output
    std::uint64_t notTaken_ = 0;       // frames the output dropped (a FIFO's reader too slow)
    std::uint64_t lostBefore_ = 0;     // frames lost before the hand-off in earlier files' graphs
    std::uint64_t lost_ = 0;           // all of them, once stopped
    bool outputFailed_ = false;
    int exitCode_ = kExitDone;
};

}  // namespace lumora::cli
