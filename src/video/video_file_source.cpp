#include "video/video_file_source.h"

#include "platform/media_error.h"
#include "video/animation_source.h"
#include "video/audio_output.h"
#include "video/chain_connector.h"
#include "video/graph_events.h"

#include <gst/base/gstbasetransform.h>

#include <algorithm>
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

// decodebin's answer to "autoplug-select" that passes a factory over (gstplay-enum.h).
constexpr gint kAutoplugSkip = 2;
constexpr gint kAutoplugTry = 0;

// Decoded frames that may wait for the grabber.
constexpr guint kDecodedAhead = 3;

bool MadeBy(GstElement* element, const char* factory) {
    GstElementFactory* made = gst_element_get_factory(element);
    return made != nullptr && std::strcmp(GST_OBJECT_NAME(made), factory) == 0;
}

// The element that produced the stream at one of decodebin's pads: through the ghost pad
// and the multiqueue that decodebin puts behind a demuxer. Null when there is none; the
// caller unrefs.
GstElement* ProducerOf(GstPad* pad) {
    GstPad* current =
        GST_IS_GHOST_PAD(pad) ? gst_ghost_pad_get_target(GST_GHOST_PAD(pad)) : GST_PAD(gst_object_ref(pad));
    while (current != nullptr) {
        GstElement* element = gst_pad_get_parent_element(current);
        if (element == nullptr || !MadeBy(element, "multiqueue")) {
            gst_object_unref(current);
            return element;
        }
        GstPad* next = nullptr;
        GstIterator* links = gst_pad_iterate_internal_links(current);  // the same stream's sink pad
        GValue item = G_VALUE_INIT;
        if (gst_iterator_next(links, &item) == GST_ITERATOR_OK) {
            next = gst_pad_get_peer(GST_PAD(g_value_get_object(&item)));
        }
        g_value_unset(&item);
        gst_iterator_free(links);
        gst_object_unref(element);
        gst_object_unref(current);
        current = next;
    }
    return nullptr;
}

// MPEG-4 part 2 from an AVI goes to the decoder as it is: the stream parser gives the two
// halves of a packed frame (XviD and DivX store B-frames that way) the same time stamp,
// while the decoder takes them apart itself and times them right.
gint OnAutoplugSelect(GstElement*, GstPad* pad, GstCaps*, GstElementFactory* factory, gpointer) {
    if (std::strcmp(GST_OBJECT_NAME(factory), "mpeg4videoparse") != 0) return kAutoplugTry;
    GstElement* producer = ProducerOf(pad);
    const bool avi = producer != nullptr && MadeBy(producer, "avidemux");
    if (producer != nullptr) gst_object_unref(producer);
    return avi ? kAutoplugSkip : kAutoplugTry;
}

// Batch runs: a decoder that spreads its frames over threads (gst-libav's "max-threads",
// by default one a core) gets every core but one, which the effects thread behind the
// queue keeps busy. Spread over all of them, the decoder's threads and the effects fight
// for the same cores and pay the frame threads' hand-overs on top; on two cores the
// decoder now decodes on its own thread, as fast and for less time.
void LimitDecoderThreads(GstBin*, GstBin*, GstElement* element, gpointer) {
    GParamSpec* threads = g_object_class_find_property(G_OBJECT_GET_CLASS(element), "max-threads");
    if (threads == nullptr || G_PARAM_SPEC_VALUE_TYPE(threads) != G_TYPE_INT) return;
    const gint cores = static_cast<gint>(g_get_num_processors());
    g_object_set(element, "max-threads", std::max(1, cores - 1), nullptr);
}

// videoflip -> queue in front of `next`: the flip turns by the stream's orientation tag,
// and the queue lets the decoder (and the converter before the flip) work on the next
// frames while the grabber hands one off. Null when they cannot be made or joined.
GstElement* AddOrientation(GstBin* pipeline, GstElement* next) {
    GstElement* flip = gst_element_factory_make("videoflip", "Orientation");
    GstElement* queue = gst_element_factory_make("queue", "Decoded Queue");
    if (flip == nullptr || queue == nullptr) {
        if (flip != nullptr) gst_object_unref(gst_object_ref_sink(flip));
        if (queue != nullptr) gst_object_unref(gst_object_ref_sink(queue));
        return nullptr;
    }
    gst_util_set_object_arg(G_OBJECT(flip), "video-direction", "auto");
    // Until a tag turns it, the flip hands frames on untouched. videoflip itself only
    // says so when its direction changes, and "auto" without a tag is no change from
    // where it starts, so it would copy every frame as it is.
    gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(flip), TRUE);
    g_object_set(queue, "max-size-buffers", kDecodedAhead, "max-size-bytes", 0u, "max-size-time", guint64{0}, nullptr);
    gst_bin_add_many(pipeline, flip, queue, nullptr);
    if (gst_element_link_many(flip, queue, next, nullptr)) return flip;
    gst_bin_remove_many(pipeline, flip, queue, nullptr);
    return nullptr;
}

}  // namespace

VideoFileSource::~VideoFileSource() {
    if (source_ == nullptr) return;
    if (padAddedHandler_ != 0) g_signal_handler_disconnect(source_, padAddedHandler_);
    if (noMorePadsHandler_ != 0) g_signal_handler_disconnect(source_, noMorePadsHandler_);
    gst_object_unref(source_);
}

HRESULT VideoFileSource::Add(const std::string& path) {
    orientation_ = AddOrientation(pipeline_, chainStart_);
    if (orientation_ == nullptr) return RecordMediaError(E_FAIL, "The GStreamer element videoflip is not installed.");
    return AnimationSource::IsAnimation(path) ? AddAnimation(path) : AddDecoder(path);
}

HRESULT VideoFileSource::AddDecoder(const std::string& path) {
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
    g_signal_connect(source_, "autoplug-select", G_CALLBACK(OnAutoplugSelect), nullptr);
    if (!realTime_) g_signal_connect(source_, "deep-element-added", G_CALLBACK(LimitDecoderThreads), nullptr);
    return gst_bin_add(pipeline_, source_) ? S_OK : E_FAIL;
}

// The one stream is there at once: it is joined now and the streams are known.
HRESULT VideoFileSource::AddAnimation(const std::string& path) {
    GstElement* source = AnimationSource::Create(path, "Source");
    if (source == nullptr) return RecordMediaError(E_FAIL, "The animated picture cannot be decoded.");
    source_ = GST_ELEMENT(gst_object_ref_sink(source));
    if (!gst_bin_add(pipeline_, source_)) return E_FAIL;
    videoClaimed_.store(true);
    GstPad* pad = gst_element_get_static_pad(source_, "src");
    LinkVideo(pad);
    gst_object_unref(pad);
    GraphEvents::PostApplicationMessage(source_, kStreamsKnown);
    return S_OK;
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
    const HRESULT hr = ChainConnector(pipeline_).Connect(pad, orientation_);
    videoResult_.store(hr);
    videoLinked_.store(SUCCEEDED(hr));
}

void VideoFileSource::LinkAudio(GstPad* pad) {
    // A sound that cannot be played is simply not heard.
    if (!AudioOutput::Attach(pipeline_, pad, realTime_)) audioClaimed_.store(false);
}

}  // namespace lumora
