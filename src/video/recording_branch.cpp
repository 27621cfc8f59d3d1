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
    GstElement* writer = AddElement(pipeline, "filesink", RecordingBranch::kWriterName);
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
    // Never a device node: removing /dev/full as root would put a plain file in its place.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(fileName, ignored))) {
        std::filesystem::remove(fileName, ignored);
    }

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

void RecordingBranch::EndStream(GstElement* entry) {
    GstPad* input = entry != nullptr ? gst_element_get_static_pad(entry, "sink") : nullptr;
    if (input == nullptr) return;
    gst_pad_send_event(input, gst_event_new_eos());
    gst_object_unref(input);
}

bool RecordingBranch::Complete(GstBin* pipeline) {
    GstElement* writer = gst_bin_get_by_name(pipeline, kWriterName);
    if (writer == nullptr) return true;
    GstPad* input = gst_element_get_static_pad(writer, "sink");
    gst_object_unref(writer);
    if (input == nullptr) return true;
    GST_OBJECT_LOCK(input);
    const bool ended = GST_PAD_IS_EOS(input);
    GST_OBJECT_UNLOCK(input);
    // A writer that failed takes nothing more: the file is as complete as it will be.
    const bool failed = gst_pad_get_last_flow_return(input) < GST_FLOW_EOS;
    gst_object_unref(input);
    return ended || failed;
}

bool RecordingBranch::Present(GstBin* pipeline) {
    GstElement* mux = gst_bin_get_by_name(pipeline, kMuxName);
    if (mux == nullptr) return false;
    gst_object_unref(mux);
    return true;
}

}  // namespace lumora
