#include "video/compressor_list.h"

#include <algorithm>
#include <cstring>
#include <tuple>

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

bool Installed(const char* factory) {
    GstPluginFeature* feature = gst_registry_lookup_feature(gst_registry_get(), factory);
    if (feature != nullptr) gst_object_unref(feature);
    return feature != nullptr;
}

const char* LongName(GstElementFactory* factory) {
    const char* name = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
    return name ? name : "";
}

// An encoder known to work, how it is fed, and what plays its AVI files back (besides
// avidemux). Each was tried recording 640x480 and 721x481 frames at 5 and 30 frames per
// second.
struct KnownEncoder {
    const char* element;
    const char* format;  // or null
    int alignment;
    std::vector<const char*> playback;
};

const std::vector<KnownEncoder>& KnownEncoders() {
    static const std::vector<KnownEncoder> known = {
        // 4:2:0 like any camera's MJPEG (given RGB, it would write RGB JPEG, which few players show).
        {"jpegenc", "I420", 1, {"jpegdec"}},
        {"avenc_mjpeg", nullptr, 1, {"jpegdec"}},
        {"pngenc", nullptr, 1, {"pngdec"}},
        {"avenc_png", nullptr, 1, {"pngdec"}},
        // Lossless, so fed RGB, which it takes at any width (its 4:2:2 needs an even one).
        {"avenc_huffyuv", "BGRA", 1, {"avdec_huffyuv"}},
        {"avenc_mpeg4", nullptr, 1, {"avdec_mpeg4"}},
        {"avenc_msmpeg4", nullptr, 1, {"avdec_msmpeg4"}},
        {"avenc_msmpeg4v2", nullptr, 1, {"avdec_msmpeg4v2"}},
        {"avenc_wmv1", nullptr, 2, {"avdec_wmv1"}},
        {"avenc_wmv2", nullptr, 2, {"avdec_wmv2"}},
        {"avenc_h263p", nullptr, 4, {"h263parse", "avdec_h263"}},
        {"vp8enc", nullptr, 1, {"vp8dec"}},
        // 4:2:0, which every player takes (left alone, x264 picks 4:4:4 for RGB input);
        // openh264 would crop an odd size.
        {"x264enc", "I420", 2, {"h264parse", "avdec_h264"}},
        {"openh264enc", "I420", 2, {"h264parse", "avdec_h264"}},
    };
    return known;
}

}  // namespace

bool CompressorList::EnumerateCompressors() {
    if (!gst_is_initialized() || !Installed("avidemux")) return false;
    GstCaps* wanted = AviVideoCaps();
    if (wanted == nullptr) return false;
    std::vector<Entry> entries;
    for (const KnownEncoder& known : KnownEncoders()) {
        GstElementFactory* factory = gst_element_factory_find(known.element);
        if (factory == nullptr) continue;
        const bool playable = std::all_of(known.playback.begin(), known.playback.end(), Installed);
        if (playable && OutputFits(factory, wanted)) {
            entries.push_back({LongName(factory), known.element, {known.format ? known.format : "", known.alignment}});
        }
        gst_object_unref(factory);
    }
    gst_caps_unref(wanted);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.name, a.element) < std::tie(b.name, b.element);
    });
    entries_ = std::move(entries);
    names_.clear();
    for (const Entry& entry : entries_) names_.push_back(entry.name);
    return true;
}

std::string CompressorList::NameAt(int index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].name : std::string();
}

std::string CompressorList::ElementNameAt(int index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].element : std::string();
}

GstElementFactory* CompressorList::FindCompressor(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return gst_element_factory_find(entries_[static_cast<std::size_t>(index)].element.c_str());
}

CompressorInput CompressorList::InputOf(int index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].input : CompressorInput{};
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
    settings_[entries_[static_cast<std::size_t>(index)].name] = std::move(settings);
}

void CompressorList::ApplySettings(GstElement* element, const Settings& settings) {
    for (const auto& [property, value] : settings) {
        if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), property.c_str()) == nullptr) continue;
        gst_util_set_object_arg(G_OBJECT(element), property.c_str(), value.c_str());
    }
}

}  // namespace lumora
