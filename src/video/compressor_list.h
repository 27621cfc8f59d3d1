// CompressorList: the video compressors a recording can use — the GStreamer video encoders
// whose output the AVI multiplexer (avimux) accepts — by their long names ("JPEG image
// encoder", "x264 H.264 Encoder", ...), sorted by name (then element name) so the order is
// the same on every run. The selected index is -1 for no compression (uncompressed RGB24).
//
// An entry is found again by its name whenever an encoder is made, as an installed encoder
// may go away. Each name carries the property values its configuration dialog chose
// (ShowCompressorDialog), which every encoder made for it receives; they survive
// re-enumeration and are kept for this run only.
//
// Thread: user-interface thread. Needs gst_init().
#pragma once

#include <gst/gst.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

class CompressorList {
public:
    // Property name and value, the value as gst_value_serialize writes it.
    using Settings = std::vector<std::pair<std::string, std::string>>;

    // Refills the names; the selected index is kept. False, leaving the list as it was,
    // when GStreamer is not initialised or the multiplexer is missing.
    bool EnumerateCompressors();

    int Count() const { return static_cast<int>(names_.size()); }
    const std::vector<std::string>& Names() const { return names_; }
    // The name at `index`, or "" when there is none.
    std::string NameAt(int index) const;

    int Selected() const { return selected_; }
    void SetSelected(int index) { selected_ = index; }

    // The factory of the first installed encoder with the entry's name, or null (the index
    // is out of range or the encoder is gone). The caller unrefs.
    GstElementFactory* FindCompressor(int index) const;

    // A new encoder for the entry, with its settings applied (a floating reference), or null.
    GstElement* CreateCompressor(int index, const char* name = nullptr) const;

    const Settings& SettingsOf(int index) const;
    void SetSettings(int index, Settings settings);

    // Applies `settings` to `element`; values that do not fit a property are skipped.
    static void ApplySettings(GstElement* element, const Settings& settings);

private:
    std::vector<std::string> names_;
    int selected_ = -1;
    std::map<std::string, Settings> settings_;
};

// The video encoders avimux accepts, in the list's order; the caller frees the list with
// gst_plugin_feature_list_free. Empty when the multiplexer is missing.
GList* AviVideoEncoderFactories();

}  // namespace lumora
