// FrameConverter: turns one Lumora frame (the VideoFrame layout: 24-bit BGR, rows padded
// to four bytes, bottom row first) into one device frame: the picture the right way up,
// scaled bilinearly to fit the device size with its aspect ratio kept, centred between
// black bars, in YUYV or I420, BT.601 limited range.
//
// How: each needed source row is converted to Y, U and V and scaled horizontally once;
// every output row is then a vertical blend of two such rows. A source that fits the
// picture exactly skips the scaling: its rows are converted and packed straight into the
// frame. The flip costs nothing (the source rows are simply read from the bottom), chroma
// is scaled at its own resolution, and the bars are painted only when the picture's place
// changes. Rows are spread over OpenCV's worker threads.
//
// Ownership: the converter owns the device frame and every working buffer; buffers grow
// when a larger source arrives and are reused afterwards, so steady streaming allocates
// nothing. Threads: one thread at a time per converter (it calls OpenCV's parallel loop
// itself); data() stays valid until the next Convert or FillBlack.
#pragma once

#include "vcam/device_frame_format.h"
#include "vcam/resample_map.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {

class FrameConverter {
public:
    // `format` must be valid (DeviceFrameFormat::IsValid). The frame starts black.
    explicit FrameConverter(const DeviceFrameFormat& format);

    const DeviceFrameFormat& format() const { return format_; }
    const std::uint8_t* data() const { return frame_.data(); }
    std::size_t size() const { return frame_.size(); }

    void FillBlack();

    // `pixels` holds a width x height VideoFrame. False, leaving the frame as it was, for a
    // size the VideoFrame layout refuses.
    bool Convert(const std::uint8_t* pixels, int width, int height);

private:
    struct Placement {
        int sourceWidth = 0, sourceHeight = 0;  // the frame size it was made for
        int x = 0, y = 0, width = 0, height = 0;  // the picture inside the device frame
        friend bool operator==(const Placement&, const Placement&) = default;
    };

    Placement PlaceSource(int sourceWidth, int sourceHeight) const;
    void Prepare(const Placement& placement);
    bool Unscaled() const;
    void ConvertUnscaled(const std::uint8_t* pixels, std::size_t stride);
    void ScaleSourceRows(const std::uint8_t* pixels, std::size_t stride);
    void ScaleSourceRow(const std::uint8_t* bgr, int row, std::uint8_t* scratch);
    void WriteYuyv();
    void WriteI420();

    DeviceFrameFormat format_;
    std::vector<std::uint8_t> frame_;

    Placement placement_;
    bool barsPainted_ = false;
    ResampleMap lumaColumns_, chromaColumns_, lumaRows_, chromaRows_;
    std::vector<int> neededRows_;  // source rows (top-down) any output row reads

    // Source rows scaled to the picture width: Y at full, U and V at half resolution.
    std::vector<std::uint8_t> scaledY_, scaledU_, scaledV_;
    std::size_t chromaWidth_ = 0;
    // Per-stripe room for two source rows in Y, U and V (with gather slack).
    std::vector<std::uint8_t> scratch_;
    std::size_t scratchPerStripe_ = 0;
};

}  // namespace lumora
