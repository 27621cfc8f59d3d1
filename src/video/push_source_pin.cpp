#include "video/push_source_pin.h"

#include "video/capture_format_caps.h"

#include <lumora/video_frame_layout.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace lumora {
namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;
constexpr std::int32_t kMaxFramesPerSecond = 30;
constexpr std::uint32_t kHeaderSize = sizeof(ZImageBitmapInfoHeader);

constexpr std::array<std::uint32_t, 3> kMasks565{0xF800, 0x07E0, 0x001F};
constexpr std::array<std::uint32_t, 3> kMasks555{0x7C00, 0x03E0, 0x001F};

struct OfferedFormat {
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::array<std::uint32_t, 3> masks;
    std::uint32_t coloursUsed;
};

// In order of preference.
constexpr std::array<OfferedFormat, PushSourcePin::kFormatCount> kOfferedFormats{{
    {32, kBiRgb, {}, 0},
    {24, kBiRgb, {}, 0},
    {16, kBiBitfields, kMasks565, 0},
    {16, kBiBitfields, kMasks555, 0},
    {8, kBiRgb, {}, 256},
}};

bool IsRgbSubtype(const Guid& subtype) {
    return subtype == kSubtypeRgb8 || subtype == kSubtypeRgb565 || subtype == kSubtypeRgb555 ||
           subtype == kSubtypeRgb24 || subtype == kSubtypeRgb32;
}

enum class RowKind { kBgrx, kBgr, kRgb565, kRgb555, kNone };

RowKind RowKindOf(const ZImageBitmapInfoHeader& header, std::uint32_t redMask) {
    switch (header.biBitCount) {
    case 32:
        return RowKind::kBgrx;
    case 24:
        return RowKind::kBgr;
    case 16:
        return header.biCompression == kBiBitfields && redMask == kMasks565[0] ? RowKind::kRgb565
                                                                               : RowKind::kRgb555;
    default:
        // 8 bits would need a palette; the offered one is empty, so there is nothing to map to.
        return RowKind::kNone;
    }
}

void StorePixel16(std::uint8_t* out, unsigned value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

// One row of 24-bit blue-green-red pixels in the layout `kind` names.
void ConvertBgrRow(const std::uint8_t* in, std::int32_t width, RowKind kind, std::uint8_t* out) {
    switch (kind) {
    case RowKind::kBgr:
        std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
        break;
    case RowKind::kBgrx:
        for (std::int32_t x = 0; x < width; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0;
        }
        break;
    case RowKind::kRgb565:
        for (std::int32_t x = 0; x < width; ++x, in += 3, out += 2) {
            StorePixel16(out, ((in[2] >> 3u) << 11u) | ((in[1] >> 2u) << 5u) | (in[0] >> 3u));
        }
        break;
    case RowKind::kRgb555:
        for (std::int32_t x = 0; x < width; ++x, in += 3, out += 2) {
            StorePixel16(out, ((in[2] >> 3u) << 10u) | ((in[1] >> 3u) << 5u) | (in[0] >> 3u));
        }
        break;
    case RowKind::kNone:
        break;
    }
}

// The subtype an RGB header stands for (16 bits: 565 when the masks say so, else 555);
// all zero for anything else.
Guid RgbSubtypeOf(const VideoInfo& info) {
    switch (info.header.biBitCount) {
    case 8:
        return kSubtypeRgb8;
    case 16:
        return info.header.biCompression == kBiBitfields && info.bitMasks == kMasks565 ? kSubtypeRgb565
                                                                                       : kSubtypeRgb555;
    case 24:
        return kSubtypeRgb24;
    case 32:
        return kSubtypeRgb32;
    default:
        return {};
    }
}

}  // namespace

std::int64_t PushSourcePin::FrameLengthFor(std::int32_t framesPerSecond) noexcept {
    const std::int32_t rate = std::clamp(framesPerSecond, 1, kMaxFramesPerSecond);
    return kUnitsPerSecond / rate;
}

PushSourcePin::PushSourcePin(const ZImageRect& screen) : screenRect_(screen) {}

PushSourcePin::~PushSourcePin() = default;

void PushSourcePin::SetDesktopSource(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                                     std::int32_t width, std::int32_t height, std::int32_t framesPerSecond) {
    std::lock_guard lock(stateMutex_);
    mode_ = kModeDesktop;
    screenRect_ = {left, top, right, bottom};
    width_ = width;
    height_ = height;
    frameLength_ = FrameLengthFor(framesPerSecond);
}

bool PushSourcePin::SetImageSource(const char* path, std::int32_t width, std::int32_t height,
                                   std::int32_t framesPerSecond) {
    // Decoding takes a while; the streaming thread need not wait for it.
    std::unique_ptr<Bitmap> picture = path ? ZImage_LoadImageToBitmapSize(path, width, height) : nullptr;
    const bool loaded = picture != nullptr;
    std::lock_guard lock(stateMutex_);
    mode_ = kModeImage;
    width_ = width;
    height_ = height;
    image_ = std::move(picture);
    imageFrameFormat_.reset();
    imageFrame_.clear();
    frameLength_ = FrameLengthFor(framesPerSecond);
    return loaded;
}

HRESULT PushSourcePin::GetMediaType(std::int32_t position, MediaType* type) const {
    if (type == nullptr) return E_POINTER;
    if (position < 0) return E_INVALIDARG;
    if (position >= kFormatCount) return VFW_S_NO_MORE_ITEMS;

    std::lock_guard formatLock(formatMutex_);
    std::int32_t width = 0;
    std::int32_t height = 0;
    {
        std::lock_guard stateLock(stateMutex_);
        width = width_;
        height = height_;
    }

    const OfferedFormat& offered = kOfferedFormats[static_cast<std::size_t>(position)];
    VideoInfo info{};
    info.header.biSize = kHeaderSize;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = offered.bitCount;
    info.header.biCompression = offered.compression;
    info.header.biSizeImage = ZImage_CalcImageSize(width, height, offered.bitCount);
    info.header.biClrUsed = offered.coloursUsed;
    info.bitMasks = offered.masks;

    MediaType result;
    result.majorType = kMediaTypeVideo;
    result.formatType = kFormatTypeVideoInfo;
    result.temporalCompression = false;
    result.subtype = RgbSubtypeOf(info);
    result.fixedSizeSamples = true;
    result.sampleSize = info.header.biSizeImage;
    result.format = info;
    *type = std::move(result);
    return S_OK;
}

HRESULT PushSourcePin::CheckMediaType(const MediaType& type) const {
    if (type.majorType != kMediaTypeVideo || !type.fixedSizeSamples) return E_INVALIDARG;
    if (!IsRgbSubtype(type.subtype)) return E_INVALIDARG;
    if (!type.format) return E_INVALIDARG;

    const ZImageBitmapInfoHeader& header = type.format->header;
    std::lock_guard lock(stateMutex_);
    if (header.biWidth != width_ || std::abs(static_cast<std::int64_t>(header.biHeight)) != height_) {
        return E_INVALIDARG;
    }
    // Rows must come bottom row first.
    if (header.biHeight < 0) return E_INVALIDARG;
    return S_OK;
}

HRESULT PushSourcePin::SetMediaType(const MediaType& type) {
    std::lock_guard lock(formatMutex_);
    current_ = type;
    if (!current_->format) return E_UNEXPECTED;
    switch (const std::int32_t bits = current_->format->header.biBitCount) {
    case 8:
    case 16:
    case 24:
    case 32:
        bitDepth_ = bits;
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

HRESULT PushSourcePin::DecideBufferSize(SampleAllocator* allocator, AllocatorProperties* request) {
    if (allocator == nullptr || request == nullptr) return E_POINTER;
    std::lock_guard lock(formatMutex_);
    if (!current_ || !current_->format) return E_UNEXPECTED;

    request->buffers = 1;
    request->bufferSize = static_cast<std::int32_t>(current_->format->header.biSizeImage);
    AllocatorProperties actual;
    const HRESULT hr = allocator->SetProperties(*request, actual);
    if (FAILED(hr)) return hr;
    return actual.bufferSize < request->bufferSize ? E_FAIL : S_OK;
}

HRESULT PushSourcePin::FillBuffer(MediaSample* sample) {
    if (sample == nullptr) return E_POINTER;

    std::optional<PixelFormat> format;
    {
        std::lock_guard lock(formatMutex_);
        if (current_ && current_->format) format = PixelFormat{current_->format->header, current_->format->bitMasks[0]};
    }

    std::lock_guard lock(stateMutex_);
    bool filled = false;
    if (format && sample->data != nullptr) {
        try {
            if (mode_ == kModeDesktop) {
                filled = FillFromScreen(*format, *sample);
            } else if (mode_ == kModeImage) {
                filled = FillFromImage(*format, *sample);
            }
        } catch (const std::bad_alloc&) {
            imageFrameFormat_.reset();  // no memory for the converted picture: tried again next frame
        }
    }
    // A frame that could not be filled still goes out, on time, but black: the sample's
    // memory comes from a buffer pool and may hold anything, even bytes of other data.
    if (!filled && sample->data != nullptr) std::memset(sample->data, 0, sample->size);
    sample->start = static_cast<std::int64_t>(frameNumber_) * frameLength_;
    sample->stop = sample->start + frameLength_;
    sample->timesSet = true;
    ++frameNumber_;
    sample->syncPoint = true;
    return S_OK;
}

bool PushSourcePin::FillFromScreen(const PixelFormat& format, MediaSample& sample) {
    const RowKind kind = RowKindOf(format.header, format.redMask);
    const std::int32_t bits = format.header.biBitCount;
    if (kind == RowKind::kNone) return false;
    const std::uint32_t imageBytes = ZImage_CalcImageSize(width_, height_, bits);
    if (imageBytes == 0 || sample.size < imageBytes) return false;

    ZImageBitmapInfoHeader header = format.header;
    header.biCompression = kBiRgb;  // 5-5-5 in bit fields is exactly 16-bit RGB
    header.biSizeImage = imageBytes;
    if (sample.topDown) header.biHeight = -std::abs(header.biHeight);
    if (kind != RowKind::kRgb565) {
        return ZImage_CopyScreenToBitmap(width_, height_, &screenRect_, sample.data, &header) != 0;
    }

    // The screen copy writes no 5-6-5; copy at 24 bits and pack the rows, keeping their order.
    header.biBitCount = 24;
    header.biSizeImage = ZImage_CalcImageSize(width_, height_, 24);
    screenScratch_.resize(header.biSizeImage);
    if (!ZImage_CopyScreenToBitmap(width_, height_, &screenRect_, screenScratch_.data(), &header)) return false;
    const std::uint32_t inStride = VideoFrameLayout::RowBytes(width_, 24);
    const std::uint32_t outStride = VideoFrameLayout::RowBytes(width_, 16);
    for (std::int32_t y = 0; y < height_; ++y) {
        ConvertBgrRow(screenScratch_.data() + static_cast<std::size_t>(y) * inStride, width_, kind,
                      sample.data + static_cast<std::size_t>(y) * outStride);
    }
    return true;
}

bool PushSourcePin::FillFromImage(const PixelFormat& format, MediaSample& sample) {
    if (!image_) return false;
    if (imageFrameFormat_ != format || imageFrameTopDown_ != sample.topDown) {
        imageFrameFormat_ = format;
        imageFrameTopDown_ = sample.topDown;
        imageFrame_.clear();
        const RowKind kind = RowKindOf(format.header, format.redMask);
        const std::int32_t width = image_->width();
        const std::int32_t height = image_->height();
        const bool sameSize = format.header.biWidth == width && std::abs(format.header.biHeight) == height;
        if (kind == RowKind::kNone || !sameSize) return false;

        const std::uint32_t stride = VideoFrameLayout::RowBytes(width, format.header.biBitCount);
        imageFrame_.assign(static_cast<std::size_t>(stride) * height, 0);
        for (std::int32_t y = 0; y < height; ++y) {  // y counts from the bottom row
            const std::int32_t memoryRow = sample.topDown ? height - 1 - y : y;
            std::uint8_t* out = imageFrame_.data() + static_cast<std::size_t>(memoryRow) * stride;
            ConvertBgrRow(image_->row(y), width, kind, out);
        }
    }
    if (imageFrame_.empty()) return false;
    const std::size_t bytes = std::min(sample.size, imageFrame_.size());
    std::memcpy(sample.data, imageFrame_.data(), bytes);
    std::memset(sample.data + bytes, 0, sample.size - bytes);
    return true;
}

bool PushSourcePin::PixelFormat::operator==(const PixelFormat& other) const {
    return std::memcmp(&header, &other.header, sizeof header) == 0 && redMask == other.redMask;
}

HRESULT PushSourcePin::Notify(const QualityMessage&) const { return E_FAIL; }

PushSourcePin::Settings PushSourcePin::CurrentSettings() const {
    Settings settings;
    {
        std::lock_guard lock(formatMutex_);
        settings.bitDepth = bitDepth_;
    }
    std::lock_guard lock(stateMutex_);
    settings.mode = mode_;
    settings.screenRect = screenRect_;
    settings.width = width_;
    settings.height = height_;
    settings.frameLength = frameLength_;
    settings.frameNumber = frameNumber_;
    settings.hasImage = image_ != nullptr;
    return settings;
}

std::optional<MediaType> PushSourcePin::CurrentMediaType() const {
    std::lock_guard lock(formatMutex_);
    return current_;
}

}  // namespace lumora
