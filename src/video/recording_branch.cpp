#include "video/recording_branch.h"

#include "platform/media_error.h"
#include "video/chain_connector.h"

#include <filesystem>
#include <system_error>

namespace lumora {
namespace {

GstElement* AddElement(GstBin* pipeline, const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (element == nullptr) return nullptr;
    if (!gst_bin_add(pipeline, element)) return nullptr;  // the bin sank and dropped it
    return element;
}

// avimux -> filesink, or null.
GstElement* AddFileWriter(GstBin* pipeline, const std::string& fileName) {
    GstElement* mux = AddElement(pipeline, "avimux", RecordingBranch::kMuxName);
    GstElement* writer = AddElement(pipeline, "filesink", "File Writer");
    if (mux == nullptr || writer == nullptr) return nullptr;
    g_object_set(writer, "location", fileName.c_str(), "sync", FALSE, "async", FALSE, nullptr);
    return gst_element_link(mux, writer) ? mux : nullptr;
}

// A queue that holds a few seconds of frames for a slow encoder instead of stalling the preview.
GstElement* AddQueue(GstBin* pipeline) {
    GstElement* queue = AddElement(pipeline, "queue", "Recording Queue");
    if (queue != nullptr) {
        g_object_set(queue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time",
                     static_cast<guint64>(5 * GST_SECOND), nullptr);
    }
    return queue;
}

}  // namespace

HRESULT RecordingBranch::Build(GstBin* pipeline, GstElement* tee, const std::string& fileName, GstElement* codec,
                               GrabberBufferCallback counter) {
    if (codec != nullptr) gst_object_ref_sink(codec);
    std::error_code ignored;
    std::filesystem::remove(fileName, ignored);

    const ChainConnector connector(pipeline);
    GstElement* mux = AddFileWriter(pipeline, fileName);
    GstElement* queue = mux ? AddQueue(pipeline) : nullptr;
    if (mux == nullptr || queue == nullptr || FAILED(connector.Connect(tee, queue))) {
        if (codec != nullptr) gst_object_unref(codec);
        return RecordMediaError(E_FAIL, "The AVI file writer could not be set up.");
    }

    GstElement* upstream = queue;
    if (codec != nullptr) {
        gst_object_set_name(GST_OBJECT(codec), "Codec");
        const bool added = gst_bin_add(pipeline, codec);
        const bool connected = added && SUCCEEDED(connector.Connect(queue, codec));
        gst_object_unref(codec);
        if (!connected) return RecordMediaError(E_FAIL, "The video compressor could not be connected.");
        upstream = codec;
    }

    GstElement* grabber = CreateGrabberElement(GrabberMode::kBuffers, "Grabber Counter");
    if (grabber != nullptr && gst_bin_add(pipeline, grabber)) {
        SetGrabberCallbacks(grabber, std::move(counter));
        if (SUCCEEDED(connector.Connect(upstream, grabber))) connector.Connect(grabber, mux);
    }
    return S_OK;
}

bool RecordingBranch::Present(GstBin* pipeline) {
    GstElement* mux = gst_bin_get_by_name(pipeline, kMuxName);
    if (mux == nullptr) return false;
    gst_object_unref(mux);
    return true;
}

}  // namespace lumora
