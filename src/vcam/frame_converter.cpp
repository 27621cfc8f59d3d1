#include "vcam/frame_converter.h"

#include "vcam/yuv_row_kernels.h"

#include <lumora/video_frame_layout.h>

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <cstring>

namespace lumora {
namespace {

constexpr int kStripes = 8;
constexpr std::uint8_t kBlackY = 16;
constexpr std::uint8_t kBlackChroma = 128;

// Runs body(begin, end, stripe) over [0, count) cut into up to kStripes stripes, on
// OpenCV's worker threads. Each stripe index is handed out once, so a stripe may own
// scratch memory.
template <typename Body>
void ForEachStripe(int count, const Body& body) {
    if (count <= 0) return;
    const int stripes = std::min(kStripes, count);
    cv::parallel_for_(
        cv::Range(0, stripes),
        [&](const cv::Range& range) {
            for (int s = range.start; s < range.end; ++s) {
                const auto begin = static_cast<int>(static_cast<long long>(count) * s / stripes);
                const auto end = static_cast<int>(static_cast<long long>(count) * (s + 1) / stripes);
                body(begin, end, s);
            }
        },
        stripes);
}

int EvenDown(int value) { return value & ~1; }

}  // namespace

FrameConverter::FrameConverter(const DeviceFrameFormat& format)
    : format_(format), frame_(format.FrameBytes()) {
    FillBlack();
}

void FrameConverter::FillBlack() {
    const auto pixels = static_cast<std::size_t>(format_.width) * static_cast<std::size_t>(format_.height);
    if (format_.pixelFormat == VcamPixelFormat::kYuyv) {
        for (std::size_t i = 0; i < frame_.size(); i += 2) {
            frame_[i] = kBlackY;
            frame_[i + 1] = kBlackChroma;
        }
    } else {
        std::memset(frame_.data(), kBlackY, pixels);
        std::memset(frame_.data() + pixels, kBlackChroma, frame_.size() - pixels);
    }
    barsPainted_ = true;
}

bool FrameConverter::Convert(const std::uint8_t* pixels, int width, int height) {
    const VideoFrameLayout layout = VideoFrameLayout::Of(width, height);
    if (!pixels || !layout.valid()) return false;
    Prepare(PlaceSource(width, height));
    if (!barsPainted_) FillBlack();
    if (Unscaled()) {
        ConvertUnscaled(pixels, layout.stride());
        return true;
    }
    ScaleSourceRows(pixels, layout.stride());
    if (format_.pixelFormat == VcamPixelFormat::kYuyv) {
        WriteYuyv();
    } else {
        WriteI420();
    }
    return true;
}

// The largest picture of the source's aspect ratio that fits, centred. Widths and the
// left edge are even so a YUYV pair or an I420 block never straddles a bar; so are I420
// heights and the top edge.
FrameConverter::Placement FrameConverter::PlaceSource(int sourceWidth, int sourceHeight) const {
    const long long deviceWidth = format_.width;
    const long long deviceHeight = format_.height;
    const bool evenRows = format_.pixelFormat == VcamPixelFormat::kI420;
    long long width = deviceWidth;
    long long height = deviceHeight;
    if (sourceWidth * deviceHeight >= sourceHeight * deviceWidth) {
        height = (sourceHeight * deviceWidth + sourceWidth / 2) / sourceWidth;
    } else {
        width = (sourceWidth * deviceHeight + sourceHeight / 2) / sourceHeight;
    }
    Placement placement;
    placement.sourceWidth = sourceWidth;
    placement.sourceHeight = sourceHeight;
    placement.width = std::clamp(EvenDown(static_cast<int>(width)), 2, format_.width);
    placement.height = evenRows ? std::clamp(EvenDown(static_cast<int>(height)), 2, format_.height)
                                : std::clamp(static_cast<int>(height), 1, format_.height);
    placement.x = EvenDown((format_.width - placement.width) / 2);
    placement.y = (format_.height - placement.height) / 2;
    if (evenRows) placement.y = EvenDown(placement.y);
    return placement;
}

void FrameConverter::Prepare(const Placement& placement) {
    if (placement == placement_) return;
    if (placement.x != placement_.x || placement.y != placement_.y ||
        placement.width != placement_.width || placement.height != placement_.height) {
        barsPainted_ = false;
    }
    placement_ = placement;
    const int sourceWidth = placement.sourceWidth;
    const int sourceHeight = placement.sourceHeight;
    scratchPerStripe_ = 6 * (static_cast<std::size_t>(sourceWidth) + yuv_kernels::kGatherSlack);
    scratch_.resize(kStripes * scratchPerStripe_);
    if (Unscaled()) return;
    lumaColumns_ = ResampleMap(sourceWidth, placement.width, 1);
    chromaColumns_ = ResampleMap(sourceWidth, placement.width, 2);
    lumaRows_ = ResampleMap(sourceHeight, placement.height, 1);
    chromaRows_ = format_.pixelFormat == VcamPixelFormat::kI420 ? ResampleMap(sourceHeight, placement.height, 2)
                                                                : ResampleMap();

    std::vector<bool> needed(static_cast<std::size_t>(sourceHeight), false);
    for (const ResampleMap* rows : {&lumaRows_, &chromaRows_}) {
        for (int i = 0; i < rows->size(); ++i) {
            needed[static_cast<std::size_t>(rows->first()[i])] = true;
            needed[static_cast<std::size_t>(rows->second()[i])] = true;
        }
    }
    neededRows_.clear();
    for (int row = 0; row < sourceHeight; ++row) {
        if (needed[static_cast<std::size_t>(row)]) neededRows_.push_back(row);
    }

    chromaWidth_ = static_cast<std::size_t>(placement.width / 2);
    const auto rows = static_cast<std::size_t>(sourceHeight);
    scaledY_.resize(rows * static_cast<std::size_t>(placement.width));
    scaledU_.resize(rows * chromaWidth_);
    scaledV_.resize(rows * chromaWidth_);
}

bool FrameConverter::Unscaled() const {
    return placement_.width == placement_.sourceWidth && placement_.height == placement_.sourceHeight;
}

// The source fits the picture exactly (even sizes): convert and pack, no resampling.
void FrameConverter::ConvertUnscaled(const std::uint8_t* pixels, std::size_t stride) {
    const int width = placement_.width;
    const int lastRow = placement_.sourceHeight - 1;
    const std::size_t span = static_cast<std::size_t>(width) + yuv_kernels::kGatherSlack;
    const auto sourceRow = [&](int row) { return pixels + static_cast<std::size_t>(lastRow - row) * stride; };
    const auto deviceWidth = static_cast<std::size_t>(format_.width);
    const auto x = static_cast<std::size_t>(placement_.x);
    const auto y = static_cast<std::size_t>(placement_.y);
    if (format_.pixelFormat == VcamPixelFormat::kYuyv) {
        std::uint8_t* origin = frame_.data() + y * deviceWidth * 2 + x * 2;
        ForEachStripe(placement_.height, [&](int begin, int end, int stripe) {
            std::uint8_t* luma = scratch_.data() + static_cast<std::size_t>(stripe) * scratchPerStripe_;
            std::uint8_t* u = luma + span;
            std::uint8_t* v = u + span;
            for (int r = begin; r < end; ++r) {
                yuv_kernels::BgrToYuv444(sourceRow(r), luma, u, v, width);
                yuv_kernels::PackYuyv(luma, u, v, origin + static_cast<std::size_t>(r) * deviceWidth * 2, width / 2);
            }
        });
        return;
    }
    const std::size_t chromaLine = deviceWidth / 2;
    std::uint8_t* yOrigin = frame_.data() + y * deviceWidth + x;
    std::uint8_t* uOrigin = frame_.data() + deviceWidth * static_cast<std::size_t>(format_.height) +
                            (y / 2) * chromaLine + x / 2;
    std::uint8_t* vOrigin = uOrigin + chromaLine * static_cast<std::size_t>(format_.height / 2);
    ForEachStripe(placement_.height / 2, [&](int begin, int end, int stripe) {
        std::uint8_t* u0 = scratch_.data() + static_cast<std::size_t>(stripe) * scratchPerStripe_;
        std::uint8_t* v0 = u0 + span;
        std::uint8_t* u1 = v0 + span;
        std::uint8_t* v1 = u1 + span;
        for (int pair = begin; pair < end; ++pair) {
            const int r = 2 * pair;
            yuv_kernels::BgrToYuv444(sourceRow(r), yOrigin + static_cast<std::size_t>(r) * deviceWidth, u0, v0, width);
            yuv_kernels::BgrToYuv444(sourceRow(r + 1), yOrigin + static_cast<std::size_t>(r + 1) * deviceWidth, u1, v1,
                                     width);
            const std::size_t line = static_cast<std::size_t>(pair) * chromaLine;
            yuv_kernels::AverageQuads(u0, u1, uOrigin + line, width / 2);
            yuv_kernels::AverageQuads(v0, v1, vOrigin + line, width / 2);
        }
    });
}

void FrameConverter::ScaleSourceRows(const std::uint8_t* pixels, std::size_t stride) {
    const int lastRow = placement_.sourceHeight - 1;
    ForEachStripe(static_cast<int>(neededRows_.size()), [&](int begin, int end, int stripe) {
        std::uint8_t* scratch = scratch_.data() + static_cast<std::size_t>(stripe) * scratchPerStripe_;
        for (int i = begin; i < end; ++i) {
            const int row = neededRows_[static_cast<std::size_t>(i)];  // counted from the top
            ScaleSourceRow(pixels + static_cast<std::size_t>(lastRow - row) * stride, row, scratch);
        }
    });
}

void FrameConverter::ScaleSourceRow(const std::uint8_t* bgr, int row, std::uint8_t* scratch) {
    const int sourceWidth = placement_.sourceWidth;
    const std::size_t span = static_cast<std::size_t>(sourceWidth) + yuv_kernels::kGatherSlack;
    std::uint8_t* y = scratch;
    std::uint8_t* u = scratch + span;
    std::uint8_t* v = scratch + 2 * span;
    yuv_kernels::BgrToYuv444(bgr, y, u, v, sourceWidth);

    const auto r = static_cast<std::size_t>(row);
    const auto width = static_cast<std::size_t>(placement_.width);
    const int chroma = static_cast<int>(chromaWidth_);
    yuv_kernels::ResampleRow(y, lumaColumns_.first(), lumaColumns_.weight(), &scaledY_[r * width],
                             placement_.width);
    yuv_kernels::ResampleRow(u, chromaColumns_.first(), chromaColumns_.weight(), &scaledU_[r * chromaWidth_],
                             chroma);
    yuv_kernels::ResampleRow(v, chromaColumns_.first(), chromaColumns_.weight(), &scaledV_[r * chromaWidth_],
                             chroma);
}

void FrameConverter::WriteYuyv() {
    const std::size_t lineBytes = format_.BytesPerLine();
    const auto width = static_cast<std::size_t>(placement_.width);
    std::uint8_t* origin = frame_.data() + static_cast<std::size_t>(placement_.y) * lineBytes +
                           static_cast<std::size_t>(placement_.x) * 2;
    ForEachStripe(placement_.height, [&](int begin, int end, int) {
        for (int r = begin; r < end; ++r) {
            const auto a = static_cast<std::size_t>(lumaRows_.first()[r]);
            const auto b = static_cast<std::size_t>(lumaRows_.second()[r]);
            yuv_kernels::BlendRowsToYuyv(&scaledY_[a * width], &scaledY_[b * width], &scaledU_[a * chromaWidth_],
                                         &scaledU_[b * chromaWidth_], &scaledV_[a * chromaWidth_],
                                         &scaledV_[b * chromaWidth_], lumaRows_.weight()[r],
                                         origin + static_cast<std::size_t>(r) * lineBytes, placement_.width / 2);
        }
    });
}

void FrameConverter::WriteI420() {
    const auto deviceWidth = static_cast<std::size_t>(format_.width);
    const auto deviceHeight = static_cast<std::size_t>(format_.height);
    const std::size_t chromaLine = deviceWidth / 2;
    const std::size_t chromaPlane = chromaLine * (deviceHeight / 2);
    const auto width = static_cast<std::size_t>(placement_.width);
    const auto x = static_cast<std::size_t>(placement_.x);
    const auto y = static_cast<std::size_t>(placement_.y);
    std::uint8_t* yOrigin = frame_.data() + y * deviceWidth + x;
    std::uint8_t* uOrigin = frame_.data() + deviceWidth * deviceHeight + (y / 2) * chromaLine + x / 2;
    std::uint8_t* vOrigin = uOrigin + chromaPlane;
    const int chroma = static_cast<int>(chromaWidth_);
    ForEachStripe(placement_.height, [&](int begin, int end, int) {
        for (int r = begin; r < end; ++r) {
            const auto a = static_cast<std::size_t>(lumaRows_.first()[r]);
            const auto b = static_cast<std::size_t>(lumaRows_.second()[r]);
            yuv_kernels::BlendRows(&scaledY_[a * width], &scaledY_[b * width], lumaRows_.weight()[r],
                                   yOrigin + static_cast<std::size_t>(r) * deviceWidth, placement_.width);
            if (r % 2 != 0) continue;
            const int c = r / 2;
            const auto ca = static_cast<std::size_t>(chromaRows_.first()[c]) * chromaWidth_;
            const auto cb = static_cast<std::size_t>(chromaRows_.second()[c]) * chromaWidth_;
            const std::size_t line = static_cast<std::size_t>(c) * chromaLine;
            yuv_kernels::BlendRows(&scaledU_[ca], &scaledU_[cb], chromaRows_.weight()[c], uOrigin + line, chroma);
            yuv_kernels::BlendRows(&scaledV_[ca], &scaledV_[cb], chromaRows_.weight()[c], vOrigin + line, chroma);
        }
    });
}

}  // namespace lumora
