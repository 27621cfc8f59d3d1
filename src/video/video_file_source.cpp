#include "video/video_file_source.h"

#include "platform/media_error.h"
#include "video/audio_output.h"
#include "video/chain_connector.h"
#include "video/graph_events.h"

#include <cstring>

namespace lumora {
namespace {

// The media type of the pad's stream: "video/...", "audio/..." or other.
std::string MediaTypeOf(GstPad* pad) {
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr) caps = gst_pad_query_caps(pad, nullptr);
    std::string type;
    if (caps != nullptr && gst_caps_get_size(caps) > 0) type = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    if (caps != nullptr) gst_caps_unref(caps);
    return type;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

VideoFileSource::~VideoFileSource() {
    if (source_ == nullptr) return;
    if (padAddedHandler_ != 0) g_signal_handler_disconnect(source_, padAddedHandler_);
    if (noMorePadsHandler_ != 0) g_signal_handler_disconnect(source_, noMorePadsHandler_);
    gst_object_unref(source_);
}

HRESULT VideoFileSource::Add(const std::string& path) {
    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), &error);
    if (uri == nullptr) {
        const HRESULT hr = RecordMediaError(E_FAIL, error && error->message ? error->message : "");
        if (error) g_error_free(error);
        return hr;
    }
    GstElement* source = gst_element_factory_make("uridecodebin", "Source");
    if (source == nullptr) {
        g_free(uri);
        return RecordMediaError(E_FAIL, "The GStreamer decoder (uridecodebin) is not installed.");
    }
    g_object_set(source, "uri", uri, nullptr);
    g_free(uri);
    source_ = GST_ELEMENT(gst_object_ref_sink(source));
    padAddedHandler_ = g_signal_connect(source_, "pad-added", G_CALLBACK(OnPadAdded), this);
    noMorePadsHandler_ = g_signal_connect(source_, "no-more-pads", G_CALLBACK(OnNoMorePads), this);
    return gst_bin_add(pipeline_, source_) ? S_OK : E_FAIL;
}

void VideoFileSource::OnPadAdded(GstElement*, GstPad* pad, gpointer data) {
    auto* self = static_cast<VideoFileSource*>(data);
    const std::string type = MediaTypeOf(pad);
    if (StartsWith(type, "video/") || StartsWith(type, "image/")) {
        if (!self->videoClaimed_.exchange(true)) self->LinkVideo(pad);
    } else if (StartsWith(type, "audio/")) {
        if (!self->audioClaimed_.exchange(true)) self->LinkAudio(pad);
    }
}

void VideoFileSource::OnNoMorePads(GstElement* source, gpointer) {
    GraphEvents::PostApplicationMessage(source, kStreamsKnown);
}

void VideoFileSource::LinkVideo(GstPad* pad) {
    const HRESULT hr = ChainConnector(pipeline_).Connect(pad, chainStart_);
    videoResult_.store(hr);
    videoLinked_.store(SUCCEEDED(hr));
}

void VideoFileSource::LinkAudio(GstPad* pad) {
    // A sound that cannot be played is simply not heard.
    if (!AudioOutput::Attach(pipeline_, pad, realTime_)) audioClaimed_.store(false);
}

}  // namespace lumora
