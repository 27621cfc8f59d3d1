#include "video/capture_format_caps.h"
#include "video/push_source_pin.h"

#include "scoped_env.h"
#include "test_support.h"

#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace lumora {
namespace {

constexpr ZImageRect kScreen{0, 0, 1920, 1080};

MediaType TypeAt(const PushSourcePin& pin, std::int32_t position) {
    MediaType type;
    EXPECT_EQ(pin.GetMediaType(position, &type), S_OK);
    return type;
}

class RecordingAllocator final : public SampleAllocator {
public:
    HRESULT SetProperties(const AllocatorProperties& request, AllocatorProperties& actual) override {
        requested = request;
        actual = granted;
        actual.bufferSize = granted.bufferSize ? granted.bufferSize : request.bufferSize;
        return answer;
    }
    AllocatorProperties requested;
    AllocatorProperties granted;
    HRESULT answer = S_OK;
};

TEST(PushSourcePinTest, OffersFiveRgbFormatsAtTheOutputSizeAndAsksForBuffersOfOneImage) {
    PushSourcePin pin(kScreen);
    // 318 pixels: 24-bit rows of 954 bytes are padded to 956, 8-bit rows of 318 to 320.
    pin.SetDesktopSource(10, 20, 330, 220, 318, 200, 5);
    const Guid subtypes[] = {kSubtypeRgb32, kSubtypeRgb24, kSubtypeRgb565, kSubtypeRgb555, kSubtypeRgb8};
    const std::uint32_t rowBytes[] = {1272, 956, 636, 636, 320};
    for (std::int32_t p = 0; p < 5; ++p) {
        const MediaType type = TypeAt(pin, p);
        ASSERT_TRUE(type.format.has_value()) << p;
        const ZImageBitmapInfoHeader& header = type.format->header;
        EXPECT_EQ(std::tuple(type.subtype, type.sampleSize, header.biSizeImage, header.biWidth, header.biHeight),
                  std::tuple(subtypes[p], rowBytes[p] * 200, rowBytes[p] * 200, 318, 200))
            << p;
        EXPECT_EQ(pin.CheckMediaType(type), S_OK) << p;
    }
    MediaType untouched = TypeAt(pin, 1);
    EXPECT_EQ(pin.GetMediaType(5, &untouched), VFW_S_NO_MORE_ITEMS);
    EXPECT_EQ(pin.GetMediaType(-1, &untouched), E_INVALIDARG);
    EXPECT_EQ(untouched.subtype, kSubtypeRgb24);

    // DecideBufferSize asks for one image and refuses less.
    PushSourcePin fresh(kScreen);  // at its default 640 x 480
    RecordingAllocator allocator;
    AllocatorProperties request;
    EXPECT_EQ(fresh.DecideBufferSize(&allocator, &request), E_UNEXPECTED);  // nothing connected yet
    ASSERT_EQ(fresh.SetMediaType(TypeAt(fresh, 1)), S_OK);
    EXPECT_EQ(fresh.DecideBufferSize(&allocator, &request), S_OK);
    EXPECT_EQ(std::pair(allocator.requested.buffers, allocator.requested.bufferSize), std::pair(1, 640 * 480 * 3));
    allocator.granted.bufferSize = 640 * 480 * 3 - 1;
    EXPECT_EQ(fresh.DecideBufferSize(&allocator, &request), E_FAIL);
    allocator.answer = E_OUTOFMEMORY;
    EXPECT_EQ(fresh.DecideBufferSize(&allocator, &request), E_OUTOFMEMORY);
}

TEST(PushSourcePinTest, StartsAsFiveFpsDesktopStampsSamplesFrameNumberTimesFrameLengthAndClampsTheRate) {
    PushSourcePin pin(kScreen);
    EXPECT_EQ(pin.FillBuffer(nullptr), E_POINTER);
    for (std::int64_t n = 0; n < 3; ++n) {
        MediaSample sample;
        ASSERT_EQ(pin.FillBuffer(&sample), S_OK);
        EXPECT_TRUE(sample.timesSet && sample.syncPoint);
        EXPECT_EQ(std::pair(sample.start, sample.stop), std::pair(2'000'000 * n, 2'000'000 * (n + 1)));
    }
    // A new rate applies from the next frame on; the count goes on.
    pin.SetDesktopSource(0, 0, 640, 480, 640, 480, 25);
    MediaSample sample;
    ASSERT_EQ(pin.FillBuffer(&sample), S_OK);
    EXPECT_EQ(std::tuple(sample.start, sample.stop), std::tuple(3 * 400'000, 4 * 400'000));

    // Rates are held to 1 to 30 per second.
    const std::pair<std::int32_t, std::int64_t> clamped[] = {{-3, 10'000'000}, {0, 10'000'000}, {1, 10'000'000},
                                                             {15, 666'666},    {30, 333'333},   {60, 333'333}};
    for (const auto& [rate, length] : clamped) {
        pin.SetDesktopSource(0, 0, 100, 100, 64, 48, rate);
        EXPECT_EQ(pin.CurrentSettings().frameLength, length) << rate;
    }
}

// Sample memory of one connected format, prefilled so that untouched bytes show.
struct SampleBuffer {
    explicit SampleBuffer(const MediaType& type) : bytes(type.format->header.biSizeImage, 0xA5) {}
    MediaSample Sample(bool topDown) { return {bytes.data(), bytes.size(), topDown}; }
    std::vector<std::uint8_t> bytes;
};

unsigned Pixel16(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8u;
}

TEST(PushSourcePinTest, ImageModeCopiesThePictureInTheConnectedFormatAndRowOrder) {
    const std::string path = test::TestDataPath("messi5.jpg");
    constexpr std::int32_t kWidth = 30;  // 90-byte 24-bit rows, padded to 92
    constexpr std::int32_t kHeight = 20;
    const std::unique_ptr<Bitmap> picture = ZImage_LoadImageToBitmapSize(path.c_str(), kWidth, kHeight);
    ASSERT_TRUE(picture);

    PushSourcePin pin(kScreen);
    ASSERT_TRUE(pin.SetImageSource(path.c_str(), kWidth, kHeight, 30));
    EXPECT_TRUE(pin.CurrentSettings().hasImage);

    // The filter always asks for top-down rows: in 24 bits, the picture's rows turned over.
    ASSERT_EQ(pin.SetMediaType(TypeAt(pin, 1)), S_OK);
    SampleBuffer bgr(TypeAt(pin, 1));
    MediaSample sample = bgr.Sample(true);
    ASSERT_EQ(pin.FillBuffer(&sample), S_OK);
    for (std::int32_t y = 0; y < kHeight; ++y) {
        const std::uint8_t* memoryRow = bgr.bytes.data() + static_cast<std::size_t>(kHeight - 1 - y) * 92;
        ASSERT_EQ(std::memcmp(memoryRow, picture->row(y), 92), 0) << "row " << y;
    }

    // The top-left pixel in the other formats the filter offers, top-down.
    const auto fill = [&](std::int32_t position) {
        EXPECT_EQ(pin.SetMediaType(TypeAt(pin, position)), S_OK);
        SampleBuffer buffer(TypeAt(pin, position));
        MediaSample topDown = buffer.Sample(true);
        EXPECT_EQ(pin.FillBuffer(&topDown), S_OK);
        return buffer.bytes;
    };
    const std::uint8_t* topLeft = picture->row(kHeight - 1);
    const unsigned b = topLeft[0], g = topLeft[1], r = topLeft[2];
    const std::vector<std::uint8_t> bgrx = fill(0);
    EXPECT_EQ(std::vector<std::uint8_t>(bgrx.begin(), bgrx.begin() + 4),
              (std::vector<std::uint8_t>{topLeft[0], topLeft[1], topLeft[2], 0}));
    EXPECT_EQ(Pixel16(fill(2), 0), (r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
    EXPECT_EQ(Pixel16(fill(3), 0), (r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
}

// The pool's memory may hold anything: a frame without a picture must not show it.
TEST(PushSourcePinTest, WithoutAPictureFramesGoOutBlackAndStamped) {
    PushSourcePin desktop(kScreen);
    {
        test::ScopedEnv noDisplay("DISPLAY", nullptr);  // the screen copy fails
        ASSERT_EQ(desktop.SetMediaType(TypeAt(desktop, 1)), S_OK);
        SampleBuffer frame(TypeAt(desktop, 1));
        MediaSample sample = frame.Sample(false);
        ASSERT_EQ(desktop.FillBuffer(&sample), S_OK);
        EXPECT_EQ(frame.bytes, std::vector<std::uint8_t>(frame.bytes.size(), 0));
        EXPECT_TRUE(sample.timesSet);
    }

    test::TempDir dir;
    PushSourcePin pin(kScreen);
    EXPECT_FALSE(pin.SetImageSource(dir.file("missing.jpg").c_str(), 160, 120, 5));
    test::WriteFileText(dir.file("broken.jpg"), "not a picture");
    EXPECT_FALSE(pin.SetImageSource(dir.file("broken.jpg").c_str(), 160, 120, 5));
    EXPECT_FALSE(pin.SetImageSource(nullptr, 160, 120, 5));
    EXPECT_EQ(std::pair(pin.CurrentSettings().hasImage, pin.CurrentSettings().mode), std::pair(false, 1002));

    ASSERT_EQ(pin.SetMediaType(TypeAt(pin, 1)), S_OK);
    SampleBuffer frame(TypeAt(pin, 1));
    MediaSample sample = frame.Sample(true);
    ASSERT_EQ(pin.FillBuffer(&sample), S_OK);
    EXPECT_EQ(frame.bytes, std::vector<std::uint8_t>(frame.bytes.size(), 0));
    EXPECT_EQ(sample.stop, 2'000'000);
}

}  // namespace
}  // namespace lumora
