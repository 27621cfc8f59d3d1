// PipeWireFramePacker: turns Lumora frames (the VideoFrame layout) into frames of the
// layout a PipeWire consumer agreed to. The picture is made by the loopback adapter's
// FrameConverter (the right way up, scaled to fit with its aspect ratio kept, black bars),
// as YUYV for YUY2 and BGRx and as I420 for I420 and NV12; NV12 and BGRx are derived
// from that once per frame, so a repeated frame costs only the copy into the buffer.
//
// Ownership: owns the frame and its working buffers. Threads: one thread at a time.
#pragma once

#include "vcam/frame_converter.h"
#include "vcam/pipewire_video_format.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {

class PipeWireFramePacker {
public:
    // `format` needs an even width and height.
    explicit PipeWireFramePacker(const PipeWireVideoFormat& format);

    const PipeWireVideoFormat& format() const { return format_; }

    void FillBlack();
    // `pixels` holds a width x height VideoFrame. False, leaving the frame as it was, for a
    // size the VideoFrame layout refuses.
    bool Convert(const std::uint8_t* pixels, int width, int height);

    // Copies the frame to `target`, which has room for `capacity` bytes. The bytes written
    // (format().FrameBytes()), or 0 when they do not fit.
    std::size_t CopyTo(std::uint8_t* target, std::size_t capacity) const;

private:
    void Derive();
    const std::uint8_t* Data() const;

    PipeWireVideoFormat format_;
    FrameConverter converter_;
    std::vector<std::uint8_t> derived_;  // the NV12 or BGRx frame; empty for YUY2 and I420
};

}  // namespace lumora
