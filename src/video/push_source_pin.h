// PushSourcePin: the output pin of our push source, as plain C++. It produces frames from a
// rectangle of the X screen (desktop mode, 1001) or from one picture file scaled once
// (image mode, 1002), offers five uncompressed RGB formats, sizes the buffers and stamps
// every sample with frame number x frame length. It knows nothing about GStreamer: the
// element in push_source_filter.h calls these hooks from caps negotiation, allocation and
// `fill`.
//
// Result codes, as the graph code expects them:
//   GetMediaType(p)     p < 0: E_INVALIDARG; p > 4: VFW_S_NO_MORE_ITEMS; else S_OK with
//                       p = 0 RGB32, 1 RGB24, 2 RGB565, 3 RGB555, 4 RGB8 at the output size
//   CheckMediaType      E_INVALIDARG unless video with fixed-size samples, one of the five
//                       subtypes, a format block, the output width, |height| = the output
//                       height, and a positive height (bottom-up rows)
//   SetMediaType        stores the type first; then E_UNEXPECTED without a format block,
//                       E_INVALIDARG for a bit count other than 8, 16, 24, 32
//   DecideBufferSize    asks for one buffer of the image size; E_FAIL when granted less
//   FillBuffer          E_POINTER for no sample; S_OK otherwise, also when the pixels could
//                       not be produced (a failed screen copy or a missing picture sends the
//                       sample black, stamped all the same)
//   Notify              always E_FAIL: no quality control, no frame is ever dropped
//
// Threads: SetDesktopSource/SetImageSource and the format hooks run on the thread that
// builds the graph, FillBuffer on the streaming thread. The source settings, the picture
// and the frame counter sit under one lock (held for a whole fill); the connected format
// under the pin's own lock. Never hold both in the other order: the format lock may be
// taken first, then the state lock.
#pragma once

#include "platform/hresult.h"
#include "video/capture_format.h"

#include <lumora/bitmap.h>
#include <lumora/zimage.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace lumora {

// Major type, format type and the three RGB subtypes the capture format table has no use for.
inline constexpr Guid kMediaTypeVideo{
    0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr Guid kFormatTypeVideoInfo{
    0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
inline constexpr Guid kSubtypeRgb8{
    0xE436EB7A, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr Guid kSubtypeRgb565{
    0xE436EB7B, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr Guid kSubtypeRgb555{
    0xE436EB7C, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiBitfields = 3;

// The format block of a video media type: the video-info header, then the true-colour
// part (three colour masks and a 256-entry palette). 1128 bytes, as on Windows.
struct VideoInfo {
    ZImageRect source{};
    ZImageRect target{};
    std::uint32_t bitRate = 0;
    std::uint32_t bitErrorRate = 0;
    std::int64_t averageTimePerFrame = 0;
    ZImageBitmapInfoHeader header{};
    std::array<std::uint32_t, 3> bitMasks{};
    std::array<std::uint32_t, 256> palette{};
};
static_assert(sizeof(VideoInfo) == 1128, "a full video-info format block is 1128 bytes");

struct MediaType {
    Guid majorType{};
    Guid subtype{};
    Guid formatType{};
    bool fixedSizeSamples = false;
    bool temporalCompression = false;
    std::uint32_t sampleSize = 0;
    std::optional<VideoInfo> format;  // no value: the type has no format block
};

struct AllocatorProperties {
    std::int32_t buffers = 0;
    std::int32_t bufferSize = 0;
    std::int32_t alignment = 0;
    std::int32_t prefix = 0;
};

// What DecideBufferSize talks to: the allocator of the downstream connection.
class SampleAllocator {
public:
    virtual ~SampleAllocator() = default;
    // Asks for `request`; `actual` receives what was granted.
    virtual HRESULT SetProperties(const AllocatorProperties& request, AllocatorProperties& actual) = 0;
};

// One empty sample handed to FillBuffer: its memory, and the times and flag FillBuffer sets.
struct MediaSample {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    // The sample's rows run top row first (GStreamer's order) instead of a DIB's bottom
    // row first. The connected format itself always has a positive height.
    bool topDown = false;

    std::int64_t start = 0;  // 100 ns units
    std::int64_t stop = 0;
    bool timesSet = false;
    bool syncPoint = false;
};

struct QualityMessage {
    double proportion = 1.0;
    std::int64_t late = 0;       // 100 ns units
    std::int64_t timestamp = 0;  // 100 ns units
};

class PushSourcePin {
public:
    static constexpr std::int32_t kModeDesktop = 1001;
    static constexpr std::int32_t kModeImage = 1002;
    static constexpr std::int32_t kFormatCount = 5;
    static constexpr std::int32_t kDefaultWidth = 640;
    static constexpr std::int32_t kDefaultHeight = 480;
    static constexpr std::int64_t kDefaultFrameLength = 2'000'000;  // 5 frames per second

    // Frame length in 100 ns units for `framesPerSecond` clamped to 1...30.
    static std::int64_t FrameLengthFor(std::int32_t framesPerSecond) noexcept;

    // Starts in desktop mode over `screen` (the whole screen), 640 x 480 at 5 frames per second.
    explicit PushSourcePin(const ZImageRect& screen);
    ~PushSourcePin();
    PushSourcePin(const PushSourcePin&) = delete;
    PushSourcePin& operator=(const PushSourcePin&) = delete;

    // Desktop mode: copy the screen rectangle (right and bottom just outside), scaled to
    // width x height. Before the graph runs.
    void SetDesktopSource(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                          std::int32_t width, std::int32_t height, std::int32_t framesPerSecond);
    // Image mode: the picture at `path` scaled to width x height, decoded now, once. False
    // when it did not load; the mode and sizes are set all the same and frames then carry
    // whatever their buffers held.
    bool SetImageSource(const char* path, std::int32_t width, std::int32_t height, std::int32_t framesPerSecond);

    HRESULT GetMediaType(std::int32_t position, MediaType* type) const;
    HRESULT CheckMediaType(const MediaType& type) const;
    HRESULT SetMediaType(const MediaType& type);
    HRESULT DecideBufferSize(SampleAllocator* allocator, AllocatorProperties* request);
    HRESULT FillBuffer(MediaSample* sample);
    HRESULT Notify(const QualityMessage& message) const;

    struct Settings {
        std::int32_t mode = kModeDesktop;
        ZImageRect screenRect{};
        std::int32_t width = kDefaultWidth;
        std::int32_t height = kDefaultHeight;
        std::int64_t frameLength = kDefaultFrameLength;
        std::int32_t frameNumber = 0;
        std::int32_t bitDepth = 32;
        bool hasImage = false;
    };
    Settings CurrentSettings() const;
    std::optional<MediaType> CurrentMediaType() const;

private:
    // The connected format as the fill needs it.
    struct PixelFormat {
        ZImageBitmapInfoHeader header{};
        std::uint32_t redMask = 0;
        bool operator==(const PixelFormat& other) const;
    };

    // Each answers whether the sample now holds the picture; FillBuffer blacks it out if not.
    bool FillFromScreen(const PixelFormat& format, MediaSample& sample);
    bool FillFromImage(const PixelFormat& format, MediaSample& sample);

    mutable std::mutex formatMutex_;
    std::optional<MediaType> current_;
    std::int32_t bitDepth_ = 32;

    mutable std::mutex stateMutex_;
    std::int32_t mode_ = kModeDesktop;
    ZImageRect screenRect_;
    std::int32_t width_ = kDefaultWidth;
    std::int32_t height_ = kDefaultHeight;
    std::unique_ptr<Bitmap> image_;
    std::int64_t frameLength_ = kDefaultFrameLength;
    std::int32_t frameNumber_ = 0;

    // The picture converted to the connected format and row order, so that a fill is one copy.
    std::vector<std::uint8_t> imageFrame_;
    std::optional<PixelFormat> imageFrameFormat_;
    bool imageFrameTopDown_ = false;
    // A 24-bit screen copy for the one format the screen copy cannot write (565).
    std::vector<std::uint8_t> screenScratch_;
};

}  // namespace lumora
