// RunSession: `lumora-cli run` — one source through the source graph and the effect chain
// to the output (the virtual camera, a packet file or FIFO, or nothing), exactly as the
// application wires them, without a window.
//
// The session is the frame store's target: each MSG_FRAME_READY sends the current frame
// to the output (FrameEventHandler) and counts it; MSG_GRAPH_EVENT tells that a file
// ended (the next file then plays). A timer writes the progress line once a second and
// watches --seconds, stream errors and SIGINT/SIGTERM. At the end the last frame is saved
// as a snapshot when asked, the graph is torn down (completing a recording) and the
// summary is written.
//
// Messages the application would show in a box are written to stderr as they are.
// Exit codes: 0 done, 1 the source, output or an effect failed, 2 a usage error found
// only now (an unknown effect or codec).
//
// Thread: user-interface thread (needs a Qt application object and gst_init()).
// Lifetime: Exec once; the graph is torn down before any member it uses is destroyed.
#pragma once

#include "cli/cli_arguments.h"
#include "cli/effect_cycler.h"
#include "cli/frame_gate.h"
#include "cli/progress_report.h"
#include "cli/source_selection.h"
#include "effects/effect_chain.h"
#include "vcam/termination_signal_flag.h"
#include "video/capture_device_list.h"
#include "video/frame_event_handler.h"
#include "video/frame_store.h"
#include "video/recorded_bytes_counter.h"
#include "video/source_graph.h"
#include "video/virtual_camera_link.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <ostream>

namespace lumora::cli {

class RunSession : public QObject {
public:
    static constexpr int kExitDone = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitUsage = 2;

    RunSession(const RunOptions& options, std::ostream& err);
    ~RunSession() override;

    // Runs until the end; the exit code.
    int Exec();

protected:
    bool event(QEvent* event) override;

private:
    int Setup();
    bool OpenOutput();
    int ActivateEffects();
    int SelectCodec();
    void OnFrame();
    void OnGraphEvent();
    void OnTick();
    void Finish(int exitCode);
    void SaveSnapshot();
    void ReportRecording();
    void Say(const std::string& line);

    const RunOptions& options_;
    std::ostream& err_;

    FrameStore store_;
    RecordedBytesCounter recorded_;
    VirtualCameraLink link_;
    FrameEventHandler output_{store_, link_};
    CaptureDeviceList devices_;  // listed once by Setup: what device numbers count in
    EffectChain effects_;
    FrameGate gate_;
    SourceGraph graph_{store_, recorded_};
    SourceSelection source_{options_, devices_, graph_};
    TerminationSignalFlag termination_;
    std::optional<EffectCycler> cycler_;  // --cycle-effects

    QTimer ticks_;
    QElapsedTimer clock_;
    qint64 lastTick_ = 0;
    ProgressReport progress_;
    std::uint64_t frames_ = 0;
    bool finished_ = false;
    int exitCode_ = kExitDone;
};

}  // namespace lumora::cli
