// CompressorList: the video compressors a recording can use, by their long names ("JPEG
// image encoder", "x264 H.264 Encoder", ...), sorted by name (then element name) so the
// order is the same on every run. The selected index is -1 for no compression
// (uncompressed RGB24).
//
// Which encoders: those of a fixed table of encoders known to record at any frame size
// and rate Lumora produces into AVI files that Lumora itself and ffmpeg read back with
// every frame. An entry is offered when its encoder is installed, avimux takes its output,
// and the elements that play its files back (its decoder, and a parser where the decoder
// needs one) are installed too — lookups in GStreamer's registry only, so enumeration
// stays quick. Some entries say how the encoder must be fed (CompressorInput): a pixel
// format, or frame sizes that are a multiple of 2 or 4, which the recording branch
// provides. Encoders left out, and why:
//   DV, H.263 (1996)          fixed frame sizes and rates; converting the rate would add
//                             or drop frames
//   MPEG-1, MPEG-2 (libav)    refuse every frame rate with this GStreamer
//   mpeg2enc                  only the broadcast frame rates, not 5 or 15 per second
//   Lossless JPEG, JPEG 2000  files Lumora cannot decode
//   OpenMAX encoders          need hardware that is not there
//
// An entry is found again by its element name whenever an encoder is made, as an
// installed encoder may go away. Each name carries the property values its configuration
// dialog chose (ShowCompressorDialog), which every encoder made for it receives; they
// survive re-enumeration and are kept for this run only.
//
// Thread: user-interface thread. Needs gst_init().
#pragma once

#include <gst/gst.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

// What an encoder must be given.
struct CompressorInput {
    std::string format;  // the raw video format it is fed ("I420"), or "" for its own choice
    int alignment = 1;   // frame width and height are made a multiple of this (scaled down)
};

class CompressorList {
public:
    // Property name and value, the value as gst_value_serialize writes it.
    using Settings = std::vector<std::pair<std::string, std::string>>;

    // Refills the names; the selected index is kept. False, leaving the list as it was,
    // when GStreamer is not initialised or the multiplexer is missing.
    bool EnumerateCompressors();

    int Count() const { return static_cast<int>(entries_.size()); }
    const std::vector<std::string>& Names() const { return names_; }
    // The long name at `index`, or "" when there is none.
    std::string NameAt(int index) const;
    // The encoder's element name ("jpegenc") at `index`, or "".
    std::string ElementNameAt(int index) const;

    int Selected() const { return selected_; }
    void SetSelected(int index) { selected_ = index; }

    // The factory of the entry's encoder, or null (the index is out of range or the encoder
    // is gone). The caller unrefs.
    GstElementFactory* FindCompressor(int index) const;

    // A new encoder for the entry, with its settings applied (a floating reference), or null.
    GstElement* CreateCompressor(int index, const char* name = nullptr) const;

    // How the entry's encoder must be fed; the default (anything) out of range.
    CompressorInput InputOf(int index) const;

    const Settings& SettingsOf(int index) const;
    void SetSettings(int index, Settings settings);

    // Applies `settings` to `element`; values that do not fit a property are skipped.
    static void ApplySettings(GstElement* element, const Settings& settings);

private:
    struct Entry {
        std::string name;     // long name
        std::string element;  // factory name
        CompressorInput input;
    };

    std::vector<Entry> entries_;
    std::vector<std::string> names_;  // the entries' long names
    int selected_ = -1;
    std::map<std::string, Settings> settings_;
};

}  // namespace lumora
