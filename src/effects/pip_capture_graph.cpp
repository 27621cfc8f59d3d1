#include "effects/pip_capture_graph.h"

#include "effects/camera_catalogue.h"

#include <gst/video/video.h>

#include <utility>

namespace lumora {

PipCaptureGraph::~PipCaptureGraph() { Stop(); }

HRESULT PipCaptureGraph::Build(const CameraCatalogue* cameras, int index, FrameCallback onFrame, LossCallback onLoss) {
    Stop();
    if (!gst_is_initialized()) return E_UNEXPECTED;
    if (!cameras) return E_POINTER;
    GstElement* device = cameras->MakeCameraSource(index);
    if (!device) return E_POINTER;
    gst_object_ref_sink(device);

    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* format = gst_element_factory_make("capsfilter", nullptr);
    GstElement* grabber = gst_element_factory_make("identity", kPipGrabberElementName);
    GstElement* renderer = gst_element_factory_make("fakesink", kPipRendererElementName);
    const auto release = [&] {
        for (GstElement* element : {convert, format, grabber, renderer}) {
            if (element) gst_object_unref(gst_object_ref_sink(element));
        }
    };
    if (!pipeline || !convert || !format || !grabber || !renderer) {
        release();
        if (pipeline) gst_object_unref(pipeline);
        gst_object_unref(device);
        return E_FAIL;
    }
    gst_element_set_name(device, kPipDeviceElementName);
    GstCaps* bgr = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", nullptr);
    g_object_set(format, "caps", bgr, nullptr);
    gst_caps_unref(bgr);
    g_object_set(grabber, "signal-handoffs", TRUE, "silent", TRUE, nullptr);
    g_object_set(renderer, "sync", FALSE, "async", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), device, convert, format, grabber, renderer, nullptr);
    gst_object_unref(device);  // the pipeline holds it now
    pipeline_ = pipeline;
    if (!gst_element_link_many(device, convert, format, grabber, renderer, nullptr)) {
        Stop();
        return E_FAIL;
    }

    onFrame_ = std::move(onFrame);
    onLoss_ = std::move(onLoss);
    lost_.store(false);
    grabberSink_ = gst_element_get_static_pad(grabber, "sink");
    g_signal_connect(grabber, "handoff", G_CALLBACK(&PipCaptureGraph::OnHandoff), this);
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, &PipCaptureGraph::OnBusMessage, this, nullptr);
    gst_object_unref(bus);

    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE || lost_.load()) {
        Stop();
        return E_FAIL;
    }
    return S_OK;
}

void PipCaptureGraph::Stop() {
    if (!pipeline_) return;
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    if (grabberSink_) gst_object_unref(grabberSink_);
    grabberSink_ = nullptr;
    gst_object_unref(pipeline_);
    pipeline_ = nullptr;
    onFrame_ = nullptr;
    onLoss_ = nullptr;
}

void PipCaptureGraph::OnHandoff(GstElement*, GstBuffer* buffer, gpointer self) {
    auto* graph = static_cast<PipCaptureGraph*>(self);
    if (graph->lost_.load() || !graph->onFrame_) return;
    GstCaps* caps = gst_pad_get_current_caps(graph->grabberSink_);
    if (!caps) return;
    GstVideoInfo info;
    const bool known = gst_video_info_from_caps(&info, caps);
    gst_caps_unref(caps);
    if (!known || GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGR) return;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) return;
    graph->onFrame_(static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                    static_cast<std::size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0)), GST_VIDEO_FRAME_WIDTH(&frame),
                    GST_VIDEO_FRAME_HEIGHT(&frame));
    gst_video_frame_unmap(&frame);
}

GstBusSyncReply PipCaptureGraph::OnBusMessage(GstBus*, GstMessage* message, gpointer self) {
    // Nobody reads this bus: everything is dropped here, so nothing piles up on it.
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_ERROR || type == GST_MESSAGE_EOS) static_cast<PipCaptureGraph*>(self)->ReportLoss();
    return GST_BUS_DROP;
}

void PipCaptureGraph::ReportLoss() {
    if (lost_.exchange(true)) return;
    if (onLoss_) onLoss_();
}

}  // namespace lumora
