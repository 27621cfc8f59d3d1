// PinFormatList: the formats a capture device offers on its capture pin, one entry per
// pixel format, size and frame rate — what the capture pin's property page lists. Lists in
// the device's caps (several formats or rates in one structure) are spread out; ranges are
// fixed to one value as GStreamer would choose it. Duplicates are dropped; the device's
// order of preference is kept.
//
// Thread: user-interface thread (it queries the element's pad). Holds its caps; copyable
// only by moving.
#pragma once

#include <gst/gst.h>

#include <string>
#include <vector>

namespace lumora {

class PinFormatList {
public:
    struct Entry {
        std::string description;  // "YUY2 640 x 480, 30 fps"
        GstCaps* caps;            // fixed caps asking for exactly this format
    };

    PinFormatList() = default;
    // The formats of `device`'s capture pad ("src", else its first source pad).
    explicit PinFormatList(GstElement* device);
    // The formats described by `caps`.
    static PinFormatList FromCaps(const GstCaps* caps);

    ~PinFormatList();
    PinFormatList(PinFormatList&& other) noexcept : entries_(std::move(other.entries_)) { other.entries_.clear(); }
    PinFormatList& operator=(PinFormatList&&) = delete;
    PinFormatList(const PinFormatList&) = delete;
    PinFormatList& operator=(const PinFormatList&) = delete;

    const std::vector<Entry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

    // The index of the entry `caps` falls in (the negotiated caps of the pad), or -1.
    int IndexOf(const GstCaps* caps) const;

    static std::string Describe(const GstStructure* format);

private:
    void AddAll(const GstCaps* caps);
    void Add(GstStructure* format);

    std::vector<Entry> entries_;
};

}  // namespace lumora
