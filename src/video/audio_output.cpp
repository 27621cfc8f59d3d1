#include "video/audio_output.h"

#include <initializer_list>

namespace lumora {
namespace {

GstElement* CreateSink(bool realTime) {
    GstElement* sink = realTime ? gst_element_factory_make("autoaudiosink", "Audio Output") : nullptr;
    if (sink == nullptr) {
        sink = gst_element_factory_make("fakesink", "Audio Output");
        if (sink != nullptr) g_object_set(sink, "sync", realTime ? TRUE : FALSE, nullptr);
    }
    return sink;
}

}  // namespace

GstElement* AudioOutput::CreateBin(bool realTime) {
    GstElement* queue = gst_element_factory_make("queue", nullptr);
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    GstElement* sink = CreateSink(realTime);
    GstElement* bin = gst_bin_new("Audio Renderer");
    for (GstElement* element : {queue, convert, resample, sink}) {
        if (element != nullptr) gst_bin_add(GST_BIN(bin), element);
    }
    if (!queue || !convert || !resample || !sink || !gst_element_link_many(queue, convert, resample, sink, nullptr)) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    GstPad* inner = gst_element_get_static_pad(queue, "sink");
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", inner));
    gst_object_unref(inner);
    return bin;
}

bool AudioOutput::Attach(GstBin* pipeline, GstPad* pad, bool realTime) {
    GstElement* bin = CreateBin(realTime);
    if (bin == nullptr) return false;
    gst_object_ref_sink(bin);
    bool attached = gst_bin_add(pipeline, bin);
    if (attached) attached = gst_element_sync_state_with_parent(bin);
    if (attached) {
        GstPad* input = gst_element_get_static_pad(bin, "sink");
        attached = GST_PAD_LINK_SUCCESSFUL(gst_pad_link(pad, input));
        gst_object_unref(input);
    }
    if (!attached && GST_OBJECT_PARENT(bin) != nullptr) {
        gst_element_set_state(bin, GST_STATE_NULL);
        gst_bin_remove(pipeline, bin);
    }
    gst_object_unref(bin);
    return attached;
}

}  // namespace lumora
