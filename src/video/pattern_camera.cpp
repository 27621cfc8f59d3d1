#include "video/pattern_camera.h"

#include <array>

namespace lumora {
namespace {

struct Size {
    int width;
    int height;
};

constexpr std::array<const char*, 2> kFormats{"YUY2", "I420"};
constexpr std::array<Size, 3> kSizes{{{640, 480}, {1280, 720}, {320, 240}}};
constexpr char kFramerates[] = "{ 30/1, 15/1 }";

// A floating-free reference to a new element, or null.
GstElement* MakeElement(const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    return element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr;
}

bool SetPattern(GstElement* source, const std::string& pattern) {
    GParamSpec* property = g_object_class_find_property(G_OBJECT_GET_CLASS(source), "pattern");
    if (!property || pattern.empty()) return false;
    GValue value = G_VALUE_INIT;
    g_value_init(&value, property->value_type);
    const bool parsed = gst_value_deserialize_with_pspec(&value, pattern.c_str(), property);
    if (parsed) g_object_set_property(G_OBJECT(source), "pattern", &value);
    g_value_unset(&value);
    return parsed;
}

// Takes over the two references and answers the floating bin.
GstElement* AssembleCamera(GstElement* source, GstElement* formats) {
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), source, formats, nullptr);
    gst_element_link(source, formats);
    GstPad* inner = gst_element_get_static_pad(formats, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", inner));
    gst_object_unref(inner);
    gst_object_unref(source);
    gst_object_unref(formats);
    return bin;
}

}  // namespace

GstCaps* PatternCameraCaps() {
    std::string text;
    for (const char* format : kFormats) {
        for (const Size& size : kSizes) {
            if (!text.empty()) text += "; ";
            text += std::string("video/x-raw, format=(string)") + format + ", width=(int)" +
                    std::to_string(size.width) + ", height=(int)" + std::to_string(size.height) +
                    ", pixel-aspect-ratio=(fraction)1/1, framerate=(fraction)" + kFramerates;
        }
    }
    return gst_caps_from_string(text.c_str());
}

GstElement* CreatePatternCamera(const std::string& pattern) {
    GstCaps* caps = PatternCameraCaps();
    GstElement* camera = CreatePatternSource(pattern, caps, true);
    gst_caps_unref(caps);
    return camera;
}

GstElement* CreatePatternSource(const std::string& pattern, const GstCaps* formats, bool live) {
    GstElement* source = MakeElement("videotestsrc", "camera-source");
    GstElement* filter = MakeElement("capsfilter", "camera-formats");
    if (!source || !filter || !formats || !SetPattern(source, pattern)) {
        if (source) gst_object_unref(source);
        if (filter) gst_object_unref(filter);
        return nullptr;
    }
    g_object_set(source, "is-live", live ? TRUE : FALSE, nullptr);
    g_object_set(filter, "caps", formats, nullptr);
    return AssembleCamera(source, filter);
}

}  // namespace lumora
