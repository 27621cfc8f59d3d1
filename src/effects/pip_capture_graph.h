// PipCaptureGraph: the picture-in-picture effect's own pipeline, which runs the second
// camera beside the main source:
//
//   "Video Capture (ZudEvEdo)" -> videoconvert -> 24-bit BGR -> "Grabber (ZudEvEdo)"
//   -> "NULL renderer (ZudEvEdo)"
//
// The grabber (an identity element) hands every frame to the frame callback: rows top-down
// as GStreamer keeps them, `stride` bytes apart. A camera that fails or ends while running
// (unplugged, taken away) calls the loss callback once; no frame follows.
//
// Threads: Build and Stop on the user-interface thread; both callbacks run on the
// pipeline's own threads. Once Stop (or the destructor) returns no callback runs any more.
// Needs gst_init().
#pragma once

#include "platform/hresult.h"

#include <gst/gst.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace lumora {

class CameraCatalogue;

inline constexpr char kPipDeviceElementName[] = "Video Capture (ZudEvEdo)";
inline constexpr char kPipGrabberElementName[] = "Grabber (ZudEvEdo)";
inline constexpr char kPipRendererElementName[] = "NULL renderer (ZudEvEdo)";

class PipCaptureGraph {
public:
    using FrameCallback =
        std::function<void(const std::uint8_t* rows, std::size_t stride, std::int32_t width, std::int32_t height)>;
    using LossCallback = std::function<void()>;

    PipCaptureGraph() = default;
    ~PipCaptureGraph();
    PipCaptureGraph(const PipCaptureGraph&) = delete;
    PipCaptureGraph& operator=(const PipCaptureGraph&) = delete;

    // Stops a graph built before, then builds and runs one for the camera at `index` of
    // `cameras`. E_POINTER without a catalogue or for a device that cannot be opened (gone, no
    // path, gives no video), E_UNEXPECTED before gst_init, E_FAIL when the elements cannot
    // be made, linked or started; nothing is left running then.
    HRESULT Build(const CameraCatalogue* cameras, int index, FrameCallback onFrame, LossCallback onLoss);
    // Stops and releases the pipeline; harmless without one.
    void Stop();

    // The running pipeline, or null (for diagnostics and tests).
    GstElement* pipeline() const noexcept { return pipeline_; }

private:
    static void OnHandoff(GstElement* grabber, GstBuffer* buffer, gpointer self);
    static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer self);
    void ReportLoss();

    GstElement* pipeline_ = nullptr;
    GstPad* grabberSink_ = nullptr;
    FrameCallback onFrame_;
    LossCallback onLoss_;
    std::atomic<bool> lost_{false};
};

}  // namespace lumora
