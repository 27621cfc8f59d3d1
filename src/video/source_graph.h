// SourceGraph: the GStreamer pipeline of the one current source. For each kind it builds a
// fixed sequence that ends in the common chain (SourceChain):
//
//   capture device  "Video Capture" -> "Capture Format" (capsfilter) -> [converter] -> Grabber
//   video file      "Source" (uridecodebin, or an AnimationSource for a GIF) -> converter
//                   -> "Orientation" -> "Decoded Queue" -> Grabber; sound -> "Audio Renderer"
//   image, desktop  "Source" (our push source) -> Grabber
//   every kind      Grabber -> "InfTee1" -> preview ("Video Renderer")
//                                        -> recording branch (capture devices, when recording)
//
// Every frame passes the Grabber, whose callback (MainGrabberCallback) runs the effect
// chain, fills the FrameStore and posts MSG_FRAME_READY; the FrameStore format follows
// every negotiated format. The pipeline is named "FilterGraph %08x pid %08x" and, with
// GST_DEBUG_DUMP_DOT_DIR set, leaves a dot graph after every build (GraphRegistration).
//
// A front end: constructs the graph with the process's FrameStore and RecordedBytesCounter;
// Initialize(preview target, main window); selects a source (SelectCaptureDevice with an
// element from CaptureDeviceList::OpenCaptureFilter, SelectVideoFile, SelectImageFile,
// SelectDesktop — each rebuilds at once) and, on success, calls Run. On MSG_GRAPH_EVENT it
// calls PollCompletion (a video file ended). Recording: RestartCapture(true, name) and
// RestartCapture(false, ""). Rebuild, RestartCapture and the pin page report their failures
// with message boxes themselves; the caller only resets its user interface. The property
// pages are drawn by the PropertyPageHost the caller passes.
//
// Threads: every call on the user-interface thread. Streaming threads enter only through
// the grabber callbacks and the preview target. A teardown sets the pipeline to NULL (all
// streaming threads stopped and joined) before it releases anything, so no callback runs
// on a released grabber, and the preview target is detached before the call returns.
//
// Lifetime: the store, the counter, the preview target and the main window are borrowed
// and must outlive the graph (or, for the last two, its last teardown). The graph owns the
// pipeline and its elements and holds the selected capture device element.
#pragma once

#include "frames/frame_store.h"
#include "frames/recorded_bytes_counter.h"
#include "platform/hresult.h"
#include "video/capture_format.h"
#include "video/compressor_list.h"
#include "video/counter_grabber_callback.h"
#include "video/graph_events.h"
#include "video/graph_registration.h"
#include "video/main_grabber_callback.h"
#include "video/preview_target.h"
#include "video/property_page_host.h"
#include "video/source_chain.h"
#include "video/source_parameters.h"
#include "video/video_file_source.h"

#include <QObject>

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lumora {

class SourceGraph {
public:
    enum class PropertyPage { kCapturePin = 0, kCaptureFilter = 1 };

    // Media time in 100-nanosecond units, as frame times are counted.
    using MediaTime = std::int64_t;

    SourceGraph(FrameStore& store, RecordedBytesCounter& counter);
    ~SourceGraph();  // Teardown(true, true)
    SourceGraph(const SourceGraph&) = delete;
    SourceGraph& operator=(const SourceGraph&) = delete;

    // Records the preview target and the main window — which receives MSG_GRAPH_EVENT and
    // becomes the FrameStore target (MSG_FRAME_READY; set another target afterwards to
    // route frames elsewhere) — and fills the compressor list. Either may be null (no
    // preview, no events). True.
    bool Initialize(PreviewTarget* preview, QObject* mainWindow);

    // Real time (the default): the preview and the sound keep to the clock. Otherwise files,
    // pictures and the desktop run as fast as the machine allows. Applies from the next build.
    void SetRealTime(bool realTime) { realTime_ = realTime; }
    bool RealTime() const { return realTime_; }

    // Called on the streaming thread before each frame reaches the frame hand-off (outside
    // the store's lock); it may block to hold the source back (batch processing). Whoever
    // sets a blocking gate must release it for good before the graph is torn down, or the
    // teardown waits for it. Set while no graph runs; empty: none.
    void SetHandOffGate(std::function<void()> gate) { handOffGate_ = std::move(gate); }

    // Called with each new pipeline and its grabber as soon as they exist, before anything
    // is linked or runs (a front end that watches the bus or the grabber's input). Set while
    // no graph runs; empty: none.
    using PipelineObserver = std::function<void(GstElement* pipeline, GstElement* grabber)>;
    void SetPipelineObserver(PipelineObserver observer) { pipelineObserver_ = std::move(observer); }

    // The next build, of any kind of source, records the processed video into `fileName`
    // (the compressor as selected). The application records only capture devices, through
    // RestartCapture; the headless front end records every kind this way.
    void RecordNextBuild(const std::string& fileName) { recordNextBuild_ = fileName; }

    // Each sets the source parameters and calls Rebuild; the answer is Rebuild's.
    // `device` is a capture element (floating or not) that the graph takes over.
    bool SelectCaptureDevice(GstElement* device);
    bool SelectVideoFile(const std::string& fileName);
    bool SelectImageFile(const std::string& fileName, std::int32_t width, std::int32_t height,
                         std::int32_t framesPerSecond);
    bool SelectDesktop(const ZImageRect& rect, std::int32_t width, std::int32_t height, std::int32_t framesPerSecond);

    // A full teardown, then components, the kind's sequence, render and preview attach;
    // failures are shown here ("Couldn't build GStreamer filters sequence!", ...). The graph
    // is left built but not running.
    bool Rebuild();

    // False when there is no graph or the state change fails.
    bool Run();
    bool Stop();

    // Stops the graph (ending a recording properly) and releases it; the capture device
    // element only when asked; the source parameters only when asked.
    void Teardown(bool releaseCaptureFilter, bool clearParameters);

    // Ends a running recording now: the file is complete and holds the frames handed off
    // (past the gate) until this call; the preview goes on. Nothing to do without a recording,
    // when the graph is not running or when the recording has ended already. A front end
    // that holds the source back (SetHandOffGate) calls this before releasing it for the
    // last time, so that no further frame gets into the file.
    void EndRecording();

    // Capture graphs: rebuilds what lies behind the capture device with or without the
    // recording branch (an empty name keeps the previous one; none at all: the next free
    // default name) and runs it. E_POINTER without a graph; E_FAIL on failure (reported).
    HRESULT RestartCapture(bool recordToFile, const std::string& fileName);

    // 1 shown or available, 0 not available or failed, -1 the rebuild after the pin page
    // failed. The pin page lists the device's formats; the filter page its controls; `host`
    // shows them (null: no page can be shown, 0 unless `queryOnly`).
    int ShowPropertyPage(PropertyPageHost* host, PropertyPage page, bool queryOnly);

    // Where the video goes inside the preview window. False without a graph.
    bool SetVideoPosition(int x, int y, int width, int height);

    // True when the video file has ended (an end of stream among the pending events). Takes
    // the pending events of any kind of graph, remembering an error (StreamError), so a
    // front end without a main window may call it now and then instead.
    bool PollCompletion();

    // The capture pin's current format into Format(), and the remembered one onto the device.
    HRESULT ReadCaptureFormat();
    HRESULT ApplyCaptureFormat();

    // Video files: length, position and seeking. Empty / false for other kinds.
    bool HasSeeking() const { return seeking_; }
    std::optional<MediaTime> Duration() const;
    std::optional<MediaTime> CurrentPosition() const;
    bool SetCurrentPosition(MediaTime position);

    SourceKind RenderedKind() const { return renderedKind_; }
    const SourceParameters& Parameters() const { return parameters_; }
    bool CapturePinOptions() const { return capturePinOptions_; }
    bool RecordToFile() const { return recordToFile_; }
    const std::string& RecordingFileName() const { return recordingFileName_; }
    CompressorList& Compressors() { return compressors_; }
    CaptureFormat& Format() { return format_; }

    // The pipeline (borrowed; null without a graph), for inspection.
    GstElement* Pipeline() const { return pipeline_; }
    // Frames that passed the grabber since the last build, and how many the hand-off refused.
    GrabberStatistics GrabberFrames() const;
    // The last error the running graph reported (taken by PollCompletion), or "".
    std::string StreamError() const { return events_ ? events_->StreamError() : std::string(); }

private:
    struct BuildResult {
        HRESULT hr = S_OK;
        bool imageNotLoaded = false;
    };

    void SetParameters(SourceKind kind);
    HRESULT CreateComponents();
    HRESULT CreateChain();
    bool BuildRenderAttach(bool reuse);
    BuildResult BuildSequence(bool reuse);
    HRESULT BuildCaptureSequence(bool reuse);
    HRESULT AddCaptureDevice();
    void AddNullRendererForVideoPort();
    HRESULT BuildVideoFileSequence();
    HRESULT WaitForStreams();
    BuildResult BuildPushSourceSequence();
    HRESULT Render();
    HRESULT BuildRecordingBranch();
    HRESULT Preroll();
    HRESULT TakeError(HRESULT hr);
    HRESULT NameMissingPlugins(HRESULT hr) const;
    void StopForRebuild();
    void RemoveDownstream();
    void DestroyGraph(bool releaseCaptureFilter);
    int ShowPinPage(PropertyPageHost* host, bool queryOnly);
    int ShowFilterPage(PropertyPageHost* host, bool queryOnly);

    FrameStore& store_;
    MainGrabberCallback mainCallback_;
    CounterGrabberCallback counterCallback_;
    PreviewTarget* preview_ = nullptr;
    QObject* mainWindow_ = nullptr;
    bool realTime_ = true;

    // The graph, present from CreateComponents to the next teardown.
    GstElement* pipeline_ = nullptr;
    std::unique_ptr<GraphEvents> events_;
    GraphRegistration registration_;
    SourceChain chain_;
    GstElement* nullRenderer_ = nullptr;    // owned until added
    GstElement* captureFilter_ = nullptr;   // the graph's reference to "Video Capture"
    GstElement* captureFormat_ = nullptr;   // "Capture Format", borrowed from the pipeline
    std::unique_ptr<VideoFileSource> fileSource_;
    bool capturePinOptions_ = false;
    bool seeking_ = false;
    bool mediaEvents_ = false;
    bool streamEnded_ = false;  // an end of stream was taken: the recording is complete
    std::function<void()> handOffGate_;
    PipelineObserver pipelineObserver_;
    std::atomic<std::uint64_t> handedOff_{0};  // frames past the gate since the chain was made
    std::string recordNextBuild_;

    // What to build; survives rebuilds.
    SourceParameters parameters_;
    GstElement* captureDevice_ = nullptr;   // kind 1: the selected device element
    SourceKind renderedKind_ = SourceKind::kNone;
    std::string recordingFileName_;
    bool recordToFile_ = false;
    CompressorList compressors_;
    CaptureFormat format_;
};

}  // namespace lumora
