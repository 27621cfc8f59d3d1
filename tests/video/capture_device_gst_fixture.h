// Shared by the capture device and format tests: GStreamer set up once, owned references,
// and a small pipeline run to its end.
#pragma once

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace lumora::test {

class GstTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }
};

struct GstUnref {
    void operator()(GstElement* element) const { gst_object_unref(element); }
    void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
using ElementPtr = std::unique_ptr<GstElement, GstUnref>;
using CapsPtr = std::unique_ptr<GstCaps, GstUnref>;

// A pipeline reference that stops the pipeline before dropping it.
struct PipelineStop {
    void operator()(GstElement* pipeline) const {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
    }
};
using PipelinePtr = std::unique_ptr<GstElement, PipelineStop>;

// Takes over a floating (or full) reference; null stays null.
inline ElementPtr Adopt(GstElement* element) {
    if (element) gst_object_ref_sink(element);
    return ElementPtr(element);
}

// Whether GStreamer has an element of that factory name.
inline bool HaveElement(const char* name) {
    GstElementFactory* factory = gst_element_factory_find(name);
    if (factory) gst_object_unref(factory);
    return factory != nullptr;
}

inline CapsPtr Caps(const char* text) { return CapsPtr(gst_caps_from_string(text)); }

// The nick of the pattern the test camera's videotestsrc shows.
inline std::string CameraPattern(GstElement* camera) {
    GstElement* source = gst_bin_get_by_name(GST_BIN(camera), "camera-source");
    if (!source) return "";
    gint value = 0;
    g_object_get(source, "pattern", &value, nullptr);
    GParamSpec* property = g_object_class_find_property(G_OBJECT_GET_CLASS(source), "pattern");
    const GEnumValue* entry = g_enum_get_value(G_PARAM_SPEC_ENUM(property)->enum_class, value);
    gst_object_unref(source);
    return entry ? entry->value_nick : "";
}

// camera ! [capsfilter caps=<filter>] ! fakesink num-buffers=2, in a new pipeline that
// takes over a floating camera reference.
inline PipelinePtr CameraPipeline(GstElement* camera, GstCaps* filter) {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "num-buffers", 2, "sync", FALSE, nullptr);
    GstElement* capsfilter = gst_element_factory_make("capsfilter", nullptr);
    if (filter) g_object_set(capsfilter, "caps", filter, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), camera, capsfilter, sink, nullptr);
    gst_element_link_many(camera, capsfilter, sink, nullptr);
    return PipelinePtr(GST_ELEMENT(gst_object_ref_sink(pipeline)));
}

// Plays the pipeline to end of stream (false on an error or after `seconds`). The pipeline
// stays in its state, so that negotiated caps can still be read.
inline bool RunToEos(GstElement* pipeline, int seconds = 10) {
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return false;
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_timed_pop_filtered(bus, seconds * GST_SECOND,
                                                     static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool eos = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message) gst_message_unref(message);
    gst_object_unref(bus);
    return eos;
}

// The bytes of the next buffer `appsink` got; empty at the end of the stream or after 5 s.
inline std::vector<unsigned char> PullBytes(GstElement* appsink) {
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(appsink), 5 * GST_SECOND);
    if (sample == nullptr) return {};
    GstMapInfo map;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    std::vector<unsigned char> bytes(map.data, map.data + map.size);
    gst_buffer_unmap(buffer, &map);
    gst_sample_unref(sample);
    return bytes;
}

}  // namespace lumora::test
