#include "video/source_graph.h"

#include "platform/media_error.h"
#include "platform/message_box.h"
#include "video/capture_format_negotiator.h"
#include "video/chain_connector.h"
#include "video/device_controls.h"
#include "video/graph_push_source.h"
#include "video/pin_format_list.h"
#include "video/recording_branch.h"
#include "video/recording_folder.h"

#include <chrono>
#include <cstring>
#include <utility>
#include <vector>

namespace lumora {
namespace {

constexpr unsigned kWarning = mb::kIconWarning;
constexpr char kInitFailed[] = "Couldn't initialize video interfaces!";
constexpr char kBuildFailed[] = "Couldn't build GStreamer filters sequence!";
constexpr char kImageFailed[] = "Couldn't load specified image file!";
constexpr char kRenderFailed[] = "Couldn't render GStreamer filters sequence!";
constexpr char kPreviewFailed[] = "Couldn't initialize preview window!";
constexpr char kRestartFailed[] = "Couldn't restart GStreamer filters sequence!";
constexpr char kPropertyFailed[] = "Couldn't open video property dialog!";

// How long the user-interface thread waits for the pipeline: to find a file's streams and
// show the first frame, to take an end of stream into a recording, to start running.
constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr GstClockTime kFinishTimeout = 5 * GST_SECOND;
constexpr GstClockTime kFinishStep = 5 * GST_MSECOND;
constexpr GstClockTime kRunTimeout = 5 * GST_SECOND;
constexpr GstClockTime kErrorGrace = 100 * GST_MSECOND;
constexpr GstClockTime kPollStep = 50 * GST_MSECOND;
constexpr gint64 kNanosecondsPerUnit = 100;

GstBin* Bin(GstElement* pipeline) { return GST_BIN(pipeline); }

// A capture element offers a video port when it has a source pad called "vp...".
bool HasVideoPortPad(GstElement* device) {
    bool found = false;
    GstIterator* pads = gst_element_iterate_src_pads(device);
    GValue item = G_VALUE_INIT;
    while (!found && gst_iterator_next(pads, &item) == GST_ITERATOR_OK) {
        found = std::strncmp(GST_OBJECT_NAME(g_value_get_object(&item)), "vp", 2) == 0;
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(pads);
    return found;
}

GstClockTime Remaining(std::chrono::steady_clock::time_point deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return 0;
    return static_cast<GstClockTime>(std::chrono::duration_cast<std::chrono::nanoseconds>(left).count());
}

}  // namespace

SourceGraph::SourceGraph(FrameStore& store, RecordedBytesCounter& counter)
    : store_(store), mainCallback_(store), counterCallback_(counter) {}

SourceGraph::~SourceGraph() { Teardown(true, true); }

bool SourceGraph::Initialize(PreviewTarget* preview, QObject* mainWindow) {
    preview_ = preview;
    mainWindow_ = mainWindow;
    store_.SetTarget(mainWindow);
    compressors_.EnumerateCompressors();
    return true;
}

// ---- Source selection -------------------------------------------------------------------

void SourceGraph::SetParameters(SourceKind kind) {
    parameters_ = SourceParameters{};
    parameters_.kind = kind;
    if (captureDevice_ != nullptr) gst_object_unref(captureDevice_);
    captureDevice_ = nullptr;
}

bool SourceGraph::SelectCaptureDevice(GstElement* device) {
    if (device != nullptr) gst_object_ref_sink(device);
    SetParameters(SourceKind::kCaptureDevice);
    captureDevice_ = device;
    return Rebuild();
}

bool SourceGraph::SelectVideoFile(const std::string& fileName) {
    SetParameters(SourceKind::kVideoFile);
    parameters_.fileName = fileName;
    return Rebuild();
}

bool SourceGraph::SelectImageFile(const std::string& fileName, std::int32_t width, std::int32_t height,
                                  std::int32_t framesPerSecond) {
    SetParameters(SourceKind::kImageFile);
    parameters_.fileName = fileName;
    parameters_.width = width;
    parameters_.height = height;
    parameters_.framesPerSecond = framesPerSecond;
    return Rebuild();
}

bool SourceGraph::SelectDesktop(const ZImageRect& rect, std::int32_t width, std::int32_t height,
                                std::int32_t framesPerSecond) {
    SetParameters(SourceKind::kDesktop);
    parameters_.desktopRect = rect;
    parameters_.width = width;
    parameters_.height = height;
    parameters_.framesPerSecond = framesPerSecond;
    return Rebuild();
}

// ---- Building ---------------------------------------------------------------------------

bool SourceGraph::Rebuild() {
    Teardown(true, false);
    if (!recordNextBuild_.empty()) {
        recordToFile_ = true;
        recordingFileName_ = std::exchange(recordNextBuild_, std::string());
    }
    renderedKind_ = parameters_.kind;
    ClearMediaError();
    if (const HRESULT hr = CreateComponents(); FAILED(hr)) {
        DestroyGraph(true);
        ShowMediaErrorMessage(kInitFailed, kWarning, hr);
        return false;
    }
    if (!BuildRenderAttach(false)) {
        DestroyGraph(true);
        return false;
    }
    return true;
}

HRESULT SourceGraph::CreateComponents() {
    GstElement* pipeline = GraphRegistration::CreateNamedPipeline();
    GstElement* nullRenderer = gst_element_factory_make("fakesink", "NULL renderer");
    if (pipeline != nullptr) pipeline_ = GST_ELEMENT(gst_object_ref_sink(pipeline));
    if (nullRenderer != nullptr) nullRenderer_ = GST_ELEMENT(gst_object_ref_sink(nullRenderer));
    if (pipeline_ == nullptr || nullRenderer_ == nullptr) return E_OUTOFMEMORY;
    // Never connected: it must not hold up the pipeline's start.
    g_object_set(nullRenderer_, "async", FALSE, "sync", FALSE, nullptr);
    events_ = std::make_unique<GraphEvents>(pipeline_);
    const HRESULT hr = CreateChain();
    if (SUCCEEDED(hr) && pipelineObserver_) pipelineObserver_(pipeline_, chain_.Grabber());
    return hr;
}

HRESULT SourceGraph::CreateChain() {
    handedOff_.store(0);
    // The grabber writes each frame into the store's block (the gate comes first), then
    // hands it off there.
    const HRESULT hr = chain_.Create(
        [this](double time, unsigned char* data, long length) { return mainCallback_.BufferCB(time, data, length); },
        [this](const ZImageBitmapInfoHeader& format) { store_.SetFormat(format); },
        [this](std::uint32_t length) {
            if (handOffGate_) handOffGate_();
            handedOff_.fetch_add(1);
            return mainCallback_.FrameBlock(length);
        },
        realTime_);
    // Without a preview or a recording nothing reads the frames the grabber passes on.
    if (SUCCEEDED(hr)) SetGrabberOutputRead(chain_.Grabber(), preview_ != nullptr || recordToFile_);
    return hr;
}

// The source built, its output rendered and the preview attached, each failure reported
// with its own message.
bool SourceGraph::BuildRenderAttach(bool reuse) {
    const BuildResult built = BuildSequence(reuse);
    if (built.imageNotLoaded) {
        ShowAppMessage(kImageFailed, kWarning);
        return false;
    }
    if (FAILED(built.hr)) {
        ShowMediaErrorMessage(kBuildFailed, kWarning, NameMissingPlugins(built.hr));
        return false;
    }
    if (const HRESULT hr = Render(); FAILED(hr)) {
        ShowMediaErrorMessage(kRenderFailed, kWarning, NameMissingPlugins(hr));
        return false;
    }
    if (const HRESULT hr = chain_.Attach(preview_); FAILED(hr)) {
        ShowMediaErrorMessage(kPreviewFailed, kWarning, hr);
        return false;
    }
    registration_.DumpGraph();
    return true;
}

SourceGraph::BuildResult SourceGraph::BuildSequence(bool reuse) {
    if (reuse) {
        if (const HRESULT hr = CreateChain(); FAILED(hr)) return {hr};
        return {BuildCaptureSequence(true)};
    }
    switch (parameters_.kind) {
        case SourceKind::kCaptureDevice: return {BuildCaptureSequence(false)};
        case SourceKind::kVideoFile: return {BuildVideoFileSequence()};
        case SourceKind::kImageFile:
        case SourceKind::kDesktop: return BuildPushSourceSequence();
        case SourceKind::kNone: break;
    }
    return {RecordMediaError(E_UNEXPECTED, "No source is selected.")};
}

HRESULT SourceGraph::BuildCaptureSequence(bool reuse) {
    if (!reuse) {
        if (const HRESULT hr = AddCaptureDevice(); FAILED(hr)) return hr;
        ApplyCaptureFormat();
    }
    if (captureFilter_ == nullptr || captureFormat_ == nullptr) return E_POINTER;
    registration_.Register(pipeline_);
    if (const HRESULT hr = chain_.AddTo(Bin(pipeline_)); FAILED(hr)) return hr;
    if (const HRESULT hr = ChainConnector(Bin(pipeline_)).Connect(captureFormat_, chain_.Grabber()); FAILED(hr)) {
        return RecordMediaError(hr, "The device's video cannot be converted to 24-bit RGB.");
    }
    AddNullRendererForVideoPort();
    return S_OK;
}

// "Video Capture" -> "Capture Format", the device opened so that it tells its real formats.
HRESULT SourceGraph::AddCaptureDevice() {
    if (captureDevice_ == nullptr) return E_POINTER;
    if (GST_OBJECT_PARENT(captureDevice_) != nullptr) return E_UNEXPECTED;
    if (captureFilter_ != nullptr) gst_object_unref(captureFilter_);
    captureFilter_ = GST_ELEMENT(gst_object_ref(captureDevice_));
    gst_object_set_name(GST_OBJECT(captureFilter_), "Video Capture");
    GstElement* formats = gst_element_factory_make("capsfilter", "Capture Format");
    if (formats == nullptr) return E_OUTOFMEMORY;
    if (!gst_bin_add(Bin(pipeline_), captureFilter_) || !gst_bin_add(Bin(pipeline_), formats)) return E_FAIL;
    captureFormat_ = formats;
    if (!gst_element_link(captureFilter_, captureFormat_)) return E_FAIL;
    if (gst_element_set_state(captureFilter_, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) return TakeError(E_FAIL);
    return S_OK;
}

void SourceGraph::AddNullRendererForVideoPort() {
    if (nullRenderer_ != nullptr && GST_OBJECT_PARENT(nullRenderer_) == nullptr && HasVideoPortPad(captureFilter_)) {
        gst_bin_add(Bin(pipeline_), nullRenderer_);
    }
}

HRESULT SourceGraph::BuildVideoFileSequence() {
    registration_.Register(pipeline_);
    if (const HRESULT hr = chain_.AddTo(Bin(pipeline_)); FAILED(hr)) return hr;
    // The decoder starts before the graph is rendered; a recording must be in place by
    // then, or it would join a stream that has already prerolled and never start.
    if (recordToFile_) {
        if (const HRESULT hr = BuildRecordingBranch(); FAILED(hr)) return hr;
    }
    fileSource_ = std::make_unique<VideoFileSource>(Bin(pipeline_), chain_.Grabber(), realTime_);
    if (const HRESULT hr = fileSource_->Add(parameters_.fileName); FAILED(hr)) return hr;
    // The decoder finds the file's streams only as the pipeline starts.
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return TakeError(E_FAIL);
    return WaitForStreams();
}

HRESULT SourceGraph::WaitForStreams() {
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    for (;;) {
        const GraphEvents::Outcome outcome = events_->WaitFor(
            static_cast<GstMessageType>(GST_MESSAGE_APPLICATION | GST_MESSAGE_ERROR), Remaining(deadline));
        if (outcome.type == GST_MESSAGE_ERROR) return RecordMediaError(E_FAIL, outcome.errorText);
        if (outcome.type == GST_MESSAGE_UNKNOWN) return RecordMediaError(E_FAIL, "The file did not open in time.");
        if (outcome.name == VideoFileSource::kStreamsKnown) break;
    }
    if (fileSource_->HasVideo()) return S_OK;
    if (FAILED(fileSource_->VideoLinkResult())) {
        return RecordMediaError(fileSource_->VideoLinkResult(), "The file's video cannot be converted to 24-bit RGB.");
    }
    return RecordMediaError(E_FAIL, "The file holds no video stream.");
}

SourceGraph::BuildResult SourceGraph::BuildPushSourceSequence() {
    const PushSourceBuild source = parameters_.kind == SourceKind::kImageFile ? BuildImageSource(parameters_, "Source")
                                                                              : BuildDesktopSource(parameters_, "Source");
    if (source.element == nullptr) return {FAILED(source.result) ? source.result : E_FAIL, source.imageNotLoaded};
    if (!gst_bin_add(Bin(pipeline_), source.element)) return {E_FAIL};
    if (const HRESULT hr = chain_.AddTo(Bin(pipeline_)); FAILED(hr)) return {hr};
    const HRESULT hr = ChainConnector(Bin(pipeline_)).Connect(source.element, chain_.Grabber());
    registration_.Register(pipeline_);
    return {hr};
}

// ---- Rendering --------------------------------------------------------------------------

HRESULT SourceGraph::Render() {
    capturePinOptions_ = false;
    if (!chain_.PreviewConnected()) return E_FAIL;
    const bool capture = captureFilter_ != nullptr && renderedKind_ == SourceKind::kCaptureDevice;
    capturePinOptions_ = capture;
    if (recordToFile_ && !RecordingBranch::Present(Bin(pipeline_))) {
        if (const HRESULT hr = BuildRecordingBranch(); FAILED(hr)) return hr;
    }
    if (renderedKind_ == SourceKind::kVideoFile) {
        seeking_ = true;
        mediaEvents_ = true;
        events_->SetNotifyTarget(mainWindow_);
    }
    if (const HRESULT hr = Preroll(); FAILED(hr)) return hr;
    // A file whose frames all fail to decode (or that was cut off before its first frame)
    // ends before any frame reaches the grabber.
    if (renderedKind_ == SourceKind::kVideoFile && GrabberFrames().buffers == 0) {
        return RecordMediaError(E_FAIL, "The file holds no picture that can be decoded.");
    }
    ZImageBitmapInfoHeader format;
    if (const HRESULT hr = chain_.ReadFormat(&format); FAILED(hr)) return hr;
    store_.SetFormat(format);
    return S_OK;
}

HRESULT SourceGraph::BuildRecordingBranch() {
    const std::string fileName = recordingFileName_.empty() ? NextRecordingFileName() : recordingFileName_;
    if (fileName.empty()) return RecordMediaError(E_FAIL, "No free recording file name is left.");
    const int selected = compressors_.Selected();
    GstElement* codec = selected >= 0 ? compressors_.CreateCompressor(selected, "Codec") : nullptr;
    return RecordingBranch::Build(Bin(pipeline_), chain_.Tee(), fileName, codec, compressors_.InputOf(selected),
                                  [this](double time, unsigned char* data, long length) {
                                      return counterCallback_.BufferCB(time, data, length);
                                  });
}

// Brings the graph to PAUSED and waits until it shows its first frame; a live source
// shows none before it runs and is done at once.
HRESULT SourceGraph::Preroll() {
    const GstStateChangeReturn change = gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_FAILURE) return TakeError(E_FAIL);
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    for (;;) {
        switch (gst_element_get_state(pipeline_, nullptr, nullptr, 0)) {
            case GST_STATE_CHANGE_SUCCESS:
            case GST_STATE_CHANGE_NO_PREROLL: return S_OK;
            case GST_STATE_CHANGE_FAILURE: return TakeError(E_FAIL);
            case GST_STATE_CHANGE_ASYNC: break;
        }
        if (Remaining(deadline) == 0) return RecordMediaError(E_FAIL, "The first frame did not arrive in time.");
        const GraphEvents::Outcome outcome =
            events_->WaitFor(static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR), kPollStep);
        if (outcome.type == GST_MESSAGE_ERROR) return RecordMediaError(E_FAIL, outcome.errorText);
    }
}

// A failure because a plug-in is not installed says which one, in GStreamer's words,
// rather than what went wrong for want of it.
HRESULT SourceGraph::NameMissingPlugins(HRESULT hr) const {
    const std::vector<std::string> missing = events_ ? events_->MissingPlugins() : std::vector<std::string>();
    if (missing.empty()) return hr;
    std::string text = "Missing GStreamer plug-in: ";
    for (std::size_t i = 0; i < missing.size(); ++i) text += (i > 0 ? ", " : "") + missing[i];
    return RecordMediaError(hr, text + ".");
}

// Gives `hr` the text of the error the pipeline posted with its failure, if it did.
HRESULT SourceGraph::TakeError(HRESULT hr) {
    if (events_ == nullptr) return hr;
    const GraphEvents::Outcome outcome = events_->WaitFor(GST_MESSAGE_ERROR, kErrorGrace);
    return outcome.errorText.empty() ? hr : RecordMediaError(hr, outcome.errorText);
}

// ---- Running and stopping ---------------------------------------------------------------

bool SourceGraph::Run() {
    if (pipeline_ == nullptr) return false;
    GstStateChangeReturn change = gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    if (change == GST_STATE_CHANGE_ASYNC) change = gst_element_get_state(pipeline_, nullptr, nullptr, kRunTimeout);
    if (change == GST_STATE_CHANGE_FAILURE) {
        TakeError(E_FAIL);
        return false;
    }
    return true;
}

bool SourceGraph::Stop() {
    if (pipeline_ == nullptr) return false;
    if (RecordingBranch::Present(Bin(pipeline_))) {
        EndRecording();
        return gst_element_set_state(pipeline_, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    }
    return gst_element_set_state(pipeline_, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

// The multiplexer completes the file when end of stream reaches it, so a running recording
// is ended that way before the graph stops.
void SourceGraph::EndRecording() {
    if (pipeline_ == nullptr || !RecordingBranch::Recording(Bin(pipeline_))) return;
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline_, &state, nullptr, 0);
    if (state != GST_STATE_PLAYING || streamEnded_) return;
    RecordingBranch::Finish(Bin(pipeline_), handedOff_.load(), kFinishTimeout);
}

void SourceGraph::StopForRebuild() {
    EndRecording();
    gst_element_set_state(pipeline_, GST_STATE_READY);
}

// Everything behind the capture device goes; the device and its format stay.
void SourceGraph::RemoveDownstream() {
    chain_.Release();
    ChainConnector(Bin(pipeline_)).RemoveAllExcept({captureFilter_, captureFormat_});
}

void SourceGraph::Teardown(bool releaseCaptureFilter, bool clearParameters) {
    capturePinOptions_ = false;
    recordToFile_ = false;
    registration_.Revoke();
    if (events_ != nullptr) events_->SetNotifyTarget(nullptr);
    DestroyGraph(releaseCaptureFilter);
    if (clearParameters) SetParameters(SourceKind::kNone);
}

// Stops the pipeline (NULL: every streaming thread has returned) before anything goes.
void SourceGraph::DestroyGraph(bool releaseCaptureFilter) {
    if (pipeline_ != nullptr) {
        EndRecording();
        gst_element_set_state(pipeline_, GST_STATE_NULL);
    }
    chain_.Release();
    fileSource_.reset();
    seeking_ = false;
    mediaEvents_ = false;
    streamEnded_ = false;
    if (captureFilter_ != nullptr && pipeline_ != nullptr && GST_OBJECT_PARENT(captureFilter_) == GST_OBJECT(pipeline_)) {
        gst_bin_remove(Bin(pipeline_), captureFilter_);
    }
    if (captureFilter_ != nullptr && releaseCaptureFilter) {
        gst_object_unref(captureFilter_);
        captureFilter_ = nullptr;
    }
    captureFormat_ = nullptr;
    if (nullRenderer_ != nullptr) gst_object_unref(nullRenderer_);
    nullRenderer_ = nullptr;
    events_.reset();
    if (pipeline_ != nullptr) gst_object_unref(pipeline_);
    pipeline_ = nullptr;
}

HRESULT SourceGraph::RestartCapture(bool recordToFile, const std::string& fileName) {
    if (pipeline_ == nullptr || chain_.Tee() == nullptr) return E_POINTER;
    ClearMediaError();
    StopForRebuild();
    registration_.Revoke();
    recordToFile_ = false;
    RemoveDownstream();
    recordToFile_ = recordToFile;
    if (recordToFile && !fileName.empty()) recordingFileName_ = fileName;
    if (!BuildRenderAttach(true)) {
        recordToFile_ = false;
        return E_FAIL;
    }
    if (!Run()) {
        ShowMediaErrorMessage(kRestartFailed, kWarning, E_FAIL);
        return E_FAIL;
    }
    return S_OK;
}

// ---- Property pages ---------------------------------------------------------------------

int SourceGraph::ShowPropertyPage(PropertyPageHost* host, PropertyPage page, bool queryOnly) {
    if (pipeline_ == nullptr || captureFilter_ == nullptr) return 0;
    return page == PropertyPage::kCaptureFilter ? ShowFilterPage(host, queryOnly) : ShowPinPage(host, queryOnly);
}

int SourceGraph::ShowFilterPage(PropertyPageHost* host, bool queryOnly) {
    const std::unique_ptr<DeviceControls> controls = DeviceControls::ForCaptureElement(captureFilter_);
    if (controls == nullptr) {
        if (!queryOnly) ShowMediaErrorMessage(kPropertyFailed, kWarning, E_NOINTERFACE);
        return 0;
    }
    if (controls->Controls().empty()) return 0;
    if (queryOnly) return 1;
    if (host == nullptr) return 0;
    host->ShowDeviceControls(*controls);
    return 1;
}

// The device's formats; the chosen one goes into "Capture Format" and everything behind
// the device is built again so that it reaches the grabber, the store and the preview.
int SourceGraph::ShowPinPage(PropertyPageHost* host, bool queryOnly) {
    if (!capturePinOptions_) return 0;
    const PinFormatList formats(captureFilter_);
    if (formats.Empty()) {
        if (!queryOnly) ShowMediaErrorMessage(kPropertyFailed, kWarning, E_NOINTERFACE);
        return 0;
    }
    if (queryOnly) return 1;
    if (host == nullptr) return 0;

    GstPad* pad = gst_element_get_static_pad(captureFormat_, "src");
    GstCaps* current = gst_pad_get_current_caps(pad);
    gst_object_unref(pad);
    StopForRebuild();
    registration_.Revoke();
    RemoveDownstream();

    const int chosen = host->ChoosePinFormat(formats, formats.IndexOf(current));
    if (current != nullptr) gst_caps_unref(current);
    if (chosen >= 0 && chosen < static_cast<int>(formats.Entries().size())) {
        g_object_set(captureFormat_, "caps", formats.Entries()[static_cast<std::size_t>(chosen)].caps, nullptr);
    }
    ClearMediaError();
    if (!BuildRenderAttach(true) || !Run()) return -1;
    return 1;
}

// ---- Everything else --------------------------------------------------------------------

bool SourceGraph::SetVideoPosition(int x, int y, int width, int height) {
    if (pipeline_ == nullptr || chain_.PreviewSink() == nullptr) return false;
    if (preview_ != nullptr) preview_->SetVideoRect(QRect(x, y, width, height));
    return true;
}

// The pending events are taken for every kind, so that an error of a running camera or
// picture is known too (StreamError); only a video file completes.
bool SourceGraph::PollCompletion() {
    const bool ended = events_ != nullptr && events_->PollCompletion();
    streamEnded_ = streamEnded_ || ended;
    return ended && mediaEvents_;
}

HRESULT SourceGraph::ReadCaptureFormat() {
    if (captureFilter_ == nullptr) return E_FAIL;
    return CaptureFormatNegotiator(captureFilter_).ReadCaptureFormat(format_);
}

HRESULT SourceGraph::ApplyCaptureFormat() {
    if (captureFilter_ == nullptr || captureFormat_ == nullptr) return S_OK;
    GstCaps* request = nullptr;
    const HRESULT hr = CaptureFormatNegotiator(captureFilter_).ApplyCaptureFormat(format_, &request);
    if (request != nullptr) {
        g_object_set(captureFormat_, "caps", request, nullptr);
        gst_caps_unref(request);
    }
    return hr;
}

std::optional<SourceGraph::MediaTime> SourceGraph::Duration() const {
    gint64 duration = 0;
    if (!seeking_ || pipeline_ == nullptr || !gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) ||
        duration < 0) {
        return std::nullopt;
    }
    return duration / kNanosecondsPerUnit;
}

std::optional<SourceGraph::MediaTime> SourceGraph::CurrentPosition() const {
    gint64 position = 0;
    if (!seeking_ || pipeline_ == nullptr || !gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) ||
        position < 0) {
        return std::nullopt;
    }
    return position / kNanosecondsPerUnit;
}

bool SourceGraph::SetCurrentPosition(MediaTime position) {
    if (!seeking_ || pipeline_ == nullptr || position < 0) return false;
    return gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                                   static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                   position * kNanosecondsPerUnit);
}

GrabberStatistics SourceGraph::GrabberFrames() const {
    return chain_.Grabber() != nullptr ? ReadGrabberStatistics(chain_.Grabber()) : GrabberStatistics{};
}

}  // namespace lumora
