// DoubleSizeScaler: the zoom's most common step, scaling a frame to exactly twice its width
// and height, with the same sampling as the general bilinear scaler (pixel centres
// aligned, corners kept), in DoublingKernels' two passes: each source row is widened once
// into a scratch row, and each output row blends two widened rows. The result is within 1
// of the exact bilinear value.
//
// Stateless; the frames are borrowed for the call, and each stripe of rows allocates its
// own scratch rows. Stripes run on OpenCV's worker threads (cv::setNumThreads applies).
#pragma once

#include "frame_view.h"

namespace lumora::zimage {

class DoubleSizeScaler {
public:
    // Fills `target`, which must be twice `source` in both directions and must not overlap
    // it. May throw std::bad_alloc.
    static void Scale(const ConstFrameView& source, const FrameView& target);

private:
    class Stripe;
};

}  // namespace lumora::zimage
