#include "frame_resizer.h"

#include "bgr_colour.h"
#include "double_size_scaler.h"
#include "pixel_rect.h"
#include "rect_painter.h"

#include <opencv2/imgproc.hpp>

#include <cstring>

namespace lumora::zimage {

bool FrameResizer::Resize(const ConstFrameView& source, const FrameView& target) {
    const bool same_size = source.layout() == target.layout();
    if (same_size && source.data() == target.data()) return true;
    if (target.Overlaps(source)) return false;

    if (same_size) {
        Copy(source, target);
    } else if (source.width() == 1 && source.height() == 1) {
        Spread(source, target);
    } else if (target.width() == 2 * source.width() && target.height() == 2 * source.height()) {
        DoubleSizeScaler::Scale(source, target);
    } else {
        cv::Mat out = target.AsMat();
        cv::resize(source.AsMat(), out, out.size(), 0, 0, cv::INTER_LINEAR);
        // The header over our buffer has the right size and type, so OpenCV writes into it;
        // a reallocation would mean the pixels went elsewhere.
        if (out.data != target.data()) return false;
    }
    return true;
}

void FrameResizer::Copy(const ConstFrameView& source, const FrameView& target) noexcept {
    const std::size_t row_bytes = static_cast<std::size_t>(target.width()) * 3;
    for (std::int32_t y = 0; y < target.height(); ++y) std::memcpy(target.pixel(0, y), source.pixel(0, y), row_bytes);
}

void FrameResizer::Spread(const ConstFrameView& source, const FrameView& target) noexcept {
    const std::uint8_t* p = source.data();
    RectPainter::Fill(target, PixelRect::OfFrame(target.width(), target.height()), BgrColour{p[0], p[1], p[2]});
}

}  // namespace lumora::zimage
