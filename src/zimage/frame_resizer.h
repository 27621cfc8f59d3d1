// FrameResizer: scales one frame into another, bilinear with pixel centres aligned, so the
// corner pixels keep their values (the same sampling as OpenCV's INTER_LINEAR, whose SIMD
// kernel does the work; exact doubling has a faster kernel of its own). Stateless. The
// frames are borrowed for the call; the source is only read, every pixel of the
// destination written and its row padding left alone.
#pragma once

#include "frame_view.h"

namespace lumora::zimage {

class FrameResizer {
public:
    // Scales `source` to the size of `target`. Answers false when the frames overlap (and
    // are not one and the same frame of the same size) and when OpenCV fails; may throw
    // what OpenCV throws (cv::Exception, std::bad_alloc), which the caller turns into 0.
    static bool Resize(const ConstFrameView& source, const FrameView& target);

private:
    static void Spread(const ConstFrameView& source, const FrameView& target) noexcept;
    static void Copy(const ConstFrameView& source, const FrameView& target) noexcept;
};

}  // namespace lumora::zimage
