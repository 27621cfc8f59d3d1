#include "video/capture_format_caps.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <numeric>

namespace lumora {
namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;
constexpr char kRawVideo[] = "video/x-raw";
constexpr char kJpeg[] = "image/jpeg";

struct PixelFormat {
    const char* mediaType;
    const char* gstFormat;  // null for image/jpeg
    std::uint32_t compression;
    std::uint16_t bitCount;
    Guid subtype;
};

constexpr PixelFormat FourccFormat(const char* mediaType, const char* gstFormat,
                                   std::uint32_t fourcc, std::uint16_t bitCount) {
    return {mediaType, gstFormat, fourcc, bitCount, SubtypeFromFourcc(fourcc)};
}

constexpr std::array<PixelFormat, 8> kPixelFormats{{
    FourccFormat(kRawVideo, "YUY2", MakeFourcc('Y', 'U', 'Y', '2'), 16),
    FourccFormat(kRawVideo, "UYVY", MakeFourcc('U', 'Y', 'V', 'Y'), 16),
    FourccFormat(kRawVideo, "I420", MakeFourcc('I', '4', '2', '0'), 12),
    FourccFormat(kRawVideo, "YV12", MakeFourcc('Y', 'V', '1', '2'), 12),
    FourccFormat(kRawVideo, "NV12", MakeFourcc('N', 'V', '1', '2'), 12),
    {kRawVideo, "BGR", 0, 24, kSubtypeRgb24},
    {kRawVideo, "BGRx", 0, 32, kSubtypeRgb32},
    FourccFormat(kJpeg, nullptr, MakeFourcc('M', 'J', 'P', 'G'), 24),
}};

bool IsVideo(const GstStructure* structure) {
    return g_str_has_prefix(gst_structure_get_name(structure), "video/") ||
           gst_structure_has_name(structure, kJpeg);
}

const PixelFormat* FindByCaps(const GstStructure* structure) {
    const char* format = gst_structure_get_string(structure, "format");
    for (const PixelFormat& entry : kPixelFormats) {
        if (!gst_structure_has_name(structure, entry.mediaType)) continue;
        if (!entry.gstFormat || (format && std::strcmp(format, entry.gstFormat) == 0)) {
            return &entry;
        }
    }
    return nullptr;
}

const PixelFormat* FindBySubtype(const Guid& subtype) {
    for (const PixelFormat& entry : kPixelFormats) {
        if (entry.subtype == subtype) return &entry;
    }
    return nullptr;
}

// Rows of whole 32-bit words, as in a DIB; for the planar 12-bit formats this is also the
// size of the three planes together. 0 when it does not fit.
std::uint32_t DibImageSize(int width, int height, int bitCount) {
    const std::int64_t rowBytes = (static_cast<std::int64_t>(width) * bitCount + 31) / 32 * 4;
    const std::int64_t total = rowBytes * height;
    return total > INT_MAX ? 0 : static_cast<std::uint32_t>(total);
}

ZImageBitmapInfoHeader MakeHeader(int width, int height, const PixelFormat& entry) {
    ZImageBitmapInfoHeader header{};
    header.biSize = sizeof(ZImageBitmapInfoHeader);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = entry.bitCount;
    header.biCompression = entry.compression;
    header.biSizeImage = DibImageSize(width, height, entry.bitCount);
    return header;
}

Framerate ReadFramerate(const GstStructure* structure) {
    Framerate rate;
    if (!gst_structure_get_fraction(structure, "framerate", &rate.numerator,
                                    &rate.denominator)) {
        return {};
    }
    return rate;
}

}  // namespace

std::int64_t FrameTimeFromFramerate(Framerate rate) {
    if (rate.numerator <= 0 || rate.denominator <= 0) return 0;
    return kUnitsPerSecond * rate.denominator / rate.numerator;
}

Framerate FramerateFromFrameTime(std::int64_t frameTime) {
    if (frameTime <= 0) return {};
    const std::int64_t divisor = std::gcd(kUnitsPerSecond, frameTime);
    const std::int64_t numerator = kUnitsPerSecond / divisor;
    const std::int64_t denominator = frameTime / divisor;
    if (denominator <= INT_MAX) {
        return {static_cast<int>(numerator), static_cast<int>(denominator)};
    }
    Framerate rate;
    gst_util_double_to_fraction(static_cast<double>(kUnitsPerSecond) / frameTime,
                                &rate.numerator, &rate.denominator);
    return rate;
}

HRESULT CaptureFormatFromCaps(const GstCaps* caps, CaptureFormat& format) {
    if (!caps || gst_caps_is_empty(caps) || gst_caps_is_any(caps)) return S_FALSE;
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    if (!IsVideo(structure)) return S_FALSE;
    const PixelFormat* entry = FindByCaps(structure);
    int width = 0;
    int height = 0;
    if (!entry || !gst_structure_get_int(structure, "width", &width) ||
        !gst_structure_get_int(structure, "height", &height) || width < 1 || height < 1) {
        return E_NOINTERFACE;
    }
    format.header = MakeHeader(width, height, *entry);
    format.frameTime = FrameTimeFromFramerate(ReadFramerate(structure));
    format.subtype = entry->subtype;
    return S_OK;
}

GstCaps* CapsFromCaptureFormat(const CaptureFormat& format, Framerate rate) {
    const PixelFormat* entry = FindBySubtype(format.subtype);
    const int width = format.header.biWidth;
    const int height = format.header.biHeight == INT_MIN ? 0 : std::abs(format.header.biHeight);
    if (!entry || width < 1 || height < 1 || rate.numerator <= 0 || rate.denominator <= 0) {
        return nullptr;
    }
    GstCaps* caps = gst_caps_new_simple(entry->mediaType, "width", G_TYPE_INT, width,
                                        "height", G_TYPE_INT, height, "framerate",
                                        GST_TYPE_FRACTION, rate.numerator, rate.denominator,
                                        nullptr);
    if (entry->gstFormat) {
        gst_caps_set_simple(caps, "format", G_TYPE_STRING, entry->gstFormat, nullptr);
    }
    return caps;
}

}  // namespace lumora
