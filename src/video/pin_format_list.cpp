#include "video/pin_format_list.h"

#include <cstdio>

namespace lumora {
namespace {

constexpr std::size_t kMaxEntries = 512;
constexpr const char* kSpreadFields[] = {"format", "width", "height", "framerate"};

GstPad* CapturePad(GstElement* device) {
    GstPad* pad = gst_element_get_static_pad(device, "src");
    if (pad != nullptr) return pad;
    GstIterator* pads = gst_element_iterate_src_pads(device);
    GValue item = G_VALUE_INIT;
    if (gst_iterator_next(pads, &item) == GST_ITERATOR_OK) {
        pad = GST_PAD(g_value_dup_object(&item));
        g_value_unset(&item);
    }
    gst_iterator_free(pads);
    return pad;
}

// One structure per value of every list-valued field, each still to be fixed.
std::vector<GstStructure*> Spread(const GstStructure* format) {
    std::vector<GstStructure*> work{gst_structure_copy(format)};
    for (const char* field : kSpreadFields) {
        std::vector<GstStructure*> next;
        for (GstStructure* structure : work) {
            const GValue* value = gst_structure_get_value(structure, field);
            if (value == nullptr || !GST_VALUE_HOLDS_LIST(value)) {
                next.push_back(structure);
                continue;
            }
            for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
                GstStructure* one = gst_structure_copy(structure);
                gst_structure_set_value(one, field, gst_value_list_get_value(value, i));
                next.push_back(one);
            }
            gst_structure_free(structure);
        }
        work = std::move(next);
    }
    return work;
}

}  // namespace

PinFormatList::PinFormatList(GstElement* device) {
    GstPad* pad = device ? CapturePad(device) : nullptr;
    if (pad == nullptr) return;
    GstCaps* caps = gst_pad_query_caps(pad, nullptr);
    gst_object_unref(pad);
    AddAll(caps);
    gst_caps_unref(caps);
}

PinFormatList PinFormatList::FromCaps(const GstCaps* caps) {
    PinFormatList list;
    list.AddAll(caps);
    return list;
}

void PinFormatList::AddAll(const GstCaps* caps) {
    if (caps == nullptr || gst_caps_is_any(caps)) return;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        for (GstStructure* format : Spread(gst_caps_get_structure(caps, i))) Add(format);
    }
}

PinFormatList::~PinFormatList() {
    for (Entry& entry : entries_) gst_caps_unref(entry.caps);
}

void PinFormatList::Add(GstStructure* format) {
    GstCaps* caps = gst_caps_fixate(gst_caps_new_full(format, nullptr));
    if (entries_.size() >= kMaxEntries) {
        gst_caps_unref(caps);
        return;
    }
    for (const Entry& entry : entries_) {
        if (gst_caps_is_equal(entry.caps, caps)) {
            gst_caps_unref(caps);
            return;
        }
    }
    entries_.push_back({Describe(gst_caps_get_structure(caps, 0)), caps});
}

int PinFormatList::IndexOf(const GstCaps* caps) const {
    if (caps == nullptr) return -1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (gst_caps_is_subset(caps, entries_[i].caps)) return static_cast<int>(i);
    }
    return -1;
}

std::string PinFormatList::Describe(const GstStructure* format) {
    std::string pixels = gst_structure_has_name(format, "image/jpeg") ? "MJPG" : "";
    if (const char* name = gst_structure_get_string(format, "format")) pixels = name;
    if (pixels.empty()) pixels = gst_structure_get_name(format);
    int width = 0;
    int height = 0;
    int numerator = 0;
    int denominator = 1;
    gst_structure_get_int(format, "width", &width);
    gst_structure_get_int(format, "height", &height);
    gst_structure_get_fraction(format, "framerate", &numerator, &denominator);
    char text[128];
    if (denominator == 1 || denominator == 0) {
        std::snprintf(text, sizeof text, "%s %d x %d, %d fps", pixels.c_str(), width, height, numerator);
    } else {
        std::snprintf(text, sizeof text, "%s %d x %d, %.2f fps", pixels.c_str(), width, height,
                      static_cast<double>(numerator) / denominator);
    }
    return text;
}

}  // namespace lumora
