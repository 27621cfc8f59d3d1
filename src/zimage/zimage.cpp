// The exported image operations: argument checks, then the work classes. Nothing thrown
// inside (OpenCV errors, allocation failures) leaves the library; it becomes a 0 result.

#include <lumora/zimage.h>

#include "bgr_colour.h"
#include "color_level_filter.h"
#include "dib_target.h"
#include "frame_compositor.h"
#include "frame_resizer.h"
#include "frame_view.h"
#include "image_loader.h"
#include "jpeg_writer.h"
#include "pixel_rect.h"
#include "rect_painter.h"
#include "screen_grabber.h"

using lumora::Bitmap;
using lumora::VideoFrameLayout;
using namespace lumora::zimage;

namespace {

constexpr std::int32_t kFailed = 0;
constexpr std::int32_t kDone = 1;

// Runs `body`, answering `failure` for anything it throws.
template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

}  // namespace

std::uint32_t ZImage_CalcWidthBytes(std::int32_t width, std::int32_t bitCount) noexcept {
    return VideoFrameLayout::RowBytes(width, bitCount);
}

std::uint32_t ZImage_CalcImageSize(std::int32_t width, std::int32_t height, std::int32_t bitCount) noexcept {
    return VideoFrameLayout::ImageBytes(width, height, bitCount);
}

std::int32_t ZImage_Resize(std::uint8_t* dst, std::int32_t dstWidth, std::int32_t dstHeight, const std::uint8_t* src,
                           std::int32_t srcWidth, std::int32_t srcHeight) noexcept {
    const auto target = FrameView::Wrap(dst, dstWidth, dstHeight);
    const auto source = ConstFrameView::Wrap(src, srcWidth, srcHeight);
    if (!target || !source) return kFailed;
    return Guarded(kFailed, [&] { return FrameResizer::Resize(*source, *target) ? kDone : kFailed; });
}

std::int32_t ZImage_Composition(std::uint8_t* dst, std::int32_t dstWidth, std::int32_t dstHeight,
                                const std::uint8_t* src, std::int32_t srcWidth, std::int32_t srcHeight, std::int32_t x,
                                std::int32_t y) noexcept {
    const auto target = FrameView::Wrap(dst, dstWidth, dstHeight);
    const auto source = ConstFrameView::Wrap(src, srcWidth, srcHeight);
    if (!target || !source) return kFailed;
    return FrameCompositor::Compose(*source, *target, x, y) ? kDone : kFailed;
}

std::int32_t ZImage_Fill(std::uint8_t* dst, std::int32_t dstWidth, std::int32_t dstHeight, std::int32_t fillWidth,
                         std::int32_t fillHeight, std::int32_t x, std::int32_t y, std::uint32_t colour,
                         std::int32_t /*reserved*/) noexcept {
    const auto target = FrameView::Wrap(dst, dstWidth, dstHeight);
    if (!target || fillWidth <= 0 || fillHeight <= 0) return kFailed;
    RectPainter::Fill(*target, PixelRect::FromCornerSize(x, y, fillWidth, fillHeight),
                      BgrColour::FromColourRef(colour));
    return kDone;
}

std::int32_t ZImage_ColorFilter(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                std::int32_t regionWidth, std::int32_t regionHeight, std::int32_t regionX,
                                std::int32_t regionY, std::int32_t red, std::int32_t green,
                                std::int32_t blue) noexcept {
    const auto frame = FrameView::Wrap(pixels, width, height);
    if (!frame || regionWidth <= 0 || regionHeight <= 0) return kFailed;
    ColorLevelFilter(red, green, blue)
        .Apply(*frame, PixelRect::FromCornerSize(regionX, regionY, regionWidth, regionHeight));
    return kDone;
}

std::int32_t ZImage_DrawRect(std::uint8_t* pixels, std::int32_t width, std::int32_t height, std::int32_t left,
                             std::int32_t top, std::int32_t right, std::int32_t bottom, std::uint32_t colour) noexcept {
    const auto frame = FrameView::Wrap(pixels, width, height);
    const PixelRect rect{left, bottom, right, top};
    if (!frame || rect.empty()) return kFailed;
    RectPainter::Outline(*frame, rect, BgrColour::FromColourRef(colour));
    return kDone;
}

std::uint32_t ZImage_CopyScreenToBitmap(std::int32_t outWidth, std::int32_t outHeight, const ZImageRect* screenRect,
                                        void* pixels, const ZImageBitmapInfoHeader* header) noexcept {
    const auto target = DibTarget::Describe(outWidth, outHeight, pixels, header);
    if (!target || screenRect == nullptr) return 0;
    return Guarded(0u, [&] { return ScreenGrabber::Instance().Grab(*screenRect, *target) ? 1u : 0u; });
}

std::unique_ptr<Bitmap> ZImage_LoadImageToBitmap(const char* path, ZImageSize* size) noexcept {
    std::unique_ptr<Bitmap> bitmap = Guarded(std::unique_ptr<Bitmap>(), [&] { return ImageLoader::Load(path); });
    if (bitmap && size != nullptr) *size = {bitmap->width(), bitmap->height()};
    return bitmap;
}

std::unique_ptr<Bitmap> ZImage_LoadImageToBitmapSize(const char* path, std::int32_t width,
                                                     std::int32_t height) noexcept {
    return Guarded(std::unique_ptr<Bitmap>(), [&] { return ImageLoader::LoadScaled(path, width, height); });
}

std::int32_t ZImage_SaveJpeg2(const char* path, const std::uint8_t* pixels, std::int32_t width,
                              std::int32_t height) noexcept {
    const auto frame = ConstFrameView::Wrap(pixels, width, height);
    if (!frame) return kFailed;
    return Guarded(kFailed, [&] { return JpegWriter::Save(path, *frame) ? kDone : kFailed; });
}
