#include "video/compressor_list.h"

#include <cstring>

namespace lumora {
namespace {

// The caps of avimux's video request pad, or null without avimux. The caller unrefs.
GstCaps* AviVideoCaps() {
    GstElementFactory* muxer = gst_element_factory_find("avimux");
    if (muxer == nullptr) return nullptr;
    GstCaps* caps = nullptr;
    for (const GList* item = gst_element_factory_get_static_pad_templates(muxer); item; item = item->next) {
        auto* pad = static_cast<GstStaticPadTemplate*>(item->data);
        if (pad->direction == GST_PAD_SINK && std::strncmp(pad->name_template, "video", 5) == 0) {
            caps = gst_static_pad_template_get_caps(pad);
            break;
        }
    }
    gst_object_unref(muxer);
    return caps;
}

bool OutputFits(GstElementFactory* factory, const GstCaps* wanted) {
    for (const GList* item = gst_element_factory_get_static_pad_templates(factory); item; item = item->next) {
        auto* pad = static_cast<GstStaticPadTemplate*>(item->data);
        if (pad->direction != GST_PAD_SRC) continue;
        GstCaps* caps = gst_static_pad_template_get_caps(pad);
        const bool fits = !gst_caps_is_any(caps) && gst_caps_can_intersect(caps, wanted);
        gst_caps_unref(caps);
        if (fits) return true;
    }
    return false;
}

const char* LongName(GstElementFactory* factory) {
    const char* name = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
    return name ? name : "";
}

gint CompareFactories(gconstpointer a, gconstpointer b) {
    auto* first = GST_ELEMENT_FACTORY(const_cast<gpointer>(a));
    auto* second = GST_ELEMENT_FACTORY(const_cast<gpointer>(b));
    if (const int order = std::strcmp(LongName(first), LongName(second)); order != 0) return order;
    return std::strcmp(GST_OBJECT_NAME(first), GST_OBJECT_NAME(second));
}

}  // namespace

GList* AviVideoEncoderFactories() {
    GstCaps* wanted = AviVideoCaps();
    if (wanted == nullptr) return nullptr;
    GList* all = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_VIDEO_ENCODER, GST_RANK_NONE);
    GList* fitting = nullptr;
    for (GList* item = all; item; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        if (OutputFits(factory, wanted)) fitting = g_list_prepend(fitting, gst_object_ref(factory));
    }
    gst_plugin_feature_list_free(all);
    gst_caps_unref(wanted);
    return g_list_sort(fitting, CompareFactories);
}

bool CompressorList::EnumerateCompressors() {
    if (!gst_is_initialized()) return false;
    GstElementFactory* muxer = gst_element_factory_find("avimux");
    if (muxer == nullptr) return false;
    gst_object_unref(muxer);

    GList* factories = AviVideoEncoderFactories();
    names_.clear();
    for (GList* item = factories; item; item = item->next) names_.emplace_back(LongName(GST_ELEMENT_FACTORY(item->data)));
    gst_plugin_feature_list_free(factories);
    return true;
}

std::string CompressorList::NameAt(int index) const {
    return index >= 0 && index < Count() ? names_[static_cast<std::size_t>(index)] : std::string();
}

GstElementFactory* CompressorList::FindCompressor(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    const std::string& wanted = names_[static_cast<std::size_t>(index)];
    GList* factories = AviVideoEncoderFactories();
    GstElementFactory* found = nullptr;
    for (GList* item = factories; item && !found; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        if (wanted == LongName(factory)) found = GST_ELEMENT_FACTORY(gst_object_ref(factory));
    }
    gst_plugin_feature_list_free(factories);
    return found;
}

GstElement* CompressorList::CreateCompressor(int index, const char* name) const {
    GstElementFactory* factory = FindCompressor(index);
    if (factory == nullptr) return nullptr;
    GstElement* element = gst_element_factory_create(factory, name);
    gst_object_unref(factory);
    if (element != nullptr) ApplySettings(element, SettingsOf(index));
    return element;
}

const CompressorList::Settings& CompressorList::SettingsOf(int index) const {
    static const Settings none;
    const auto found = settings_.find(NameAt(index));
    return found == settings_.end() ? none : found->second;
}

void CompressorList::SetSettings(int index, Settings settings) {
    if (index < 0 || index >= Count()) return;
    settings_[names_[static_cast<std::size_t>(index)]] = std::move(settings);
}

void CompressorList::ApplySettings(GstElement* element, const Settings& settings) {
    for (const auto& [property, value] : settings) {
        if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), property.c_str()) == nullptr) continue;
        gst_util_set_object_arg(G_OBJECT(element), property.c_str(), value.c_str());
    }
}

}  // namespace lumora
