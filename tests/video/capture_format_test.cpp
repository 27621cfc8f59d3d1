#include "capture_device_gst_fixture.h"
#include "video/capture_format_caps.h"
#include "video/capture_format_negotiator.h"
#include "video/pattern_camera.h"
#include "video/pin_format_list.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lumora {
namespace {

using test::Caps;
using CaptureFormatCapsTest = test::GstTest;
using SourceGraphPinFormats = test::GstTest;

TEST_F(CaptureFormatCapsTest, CapsBecomeHeaderFrameTimeAndSubtypeAndBackAndWhatTheRecordCannotExpressLeavesItAlone) {
    const struct {
        const char* caps;
        std::uint16_t bitCount;
        std::uint32_t compression, imageSize;
        std::int64_t frameTime;
        Guid subtype;
    } cases[] = {
        {"video/x-raw,format=YUY2,width=640,height=480,framerate=30/1", 16, 0x32595559, 614400, 333333,
         SubtypeFromFourcc(0x32595559)},
        {"video/x-raw,format=I420,width=640,height=480,framerate=15/1", 12, 0x30323449, 460800, 666666,
         SubtypeFromFourcc(0x30323449)},
        // DIB rows: 318 x 3 = 954 bytes, padded to 956.
        {"video/x-raw,format=BGR,width=318,height=200,framerate=5/1", 24, 0, 191200, 2000000, kSubtypeRgb24},
        {"video/x-raw,format=BGRx,width=320,height=240,framerate=30/1", 32, 0, 307200, 333333, kSubtypeRgb32},
        {"image/jpeg,width=1280,height=720,framerate=30000/1001", 24, 0x47504A4D, 2764800, 333666,
         SubtypeFromFourcc(0x47504A4D)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caps);
        CaptureFormat format;
        format.applied = true;
        ASSERT_EQ(CaptureFormatFromCaps(Caps(c.caps).get(), format), S_OK);
        const auto& h = format.header;
        EXPECT_EQ(std::tuple(h.biSize, h.biPlanes, h.biBitCount, h.biCompression, h.biSizeImage, format.frameTime),
                  std::tuple(40u, 1, c.bitCount, c.compression, c.imageSize, c.frameTime));
        EXPECT_EQ(format.subtype, c.subtype);
        EXPECT_TRUE(format.applied);

        // Asked for again (at the exact rate of the frame time), it reads back the same.
        test::CapsPtr caps(CapsFromCaptureFormat(format, FramerateFromFrameTime(format.frameTime)));
        CaptureFormat again;
        ASSERT_EQ(CaptureFormatFromCaps(caps.get(), again), S_OK);
        EXPECT_EQ(std::memcmp(&again.header, &h, sizeof h), 0);
        EXPECT_EQ(std::tuple(again.frameTime, again.subtype), std::tuple(format.frameTime, format.subtype));
    }

    CaptureFormat format;
    format.header.biWidth = 7;
    for (const char* caps : {"video/x-raw,format=RGB,width=320,height=240",
                             "video/x-h264,width=320,height=240",
                             "video/x-raw,format=YUY2,width=0,height=240"}) {
        EXPECT_EQ(CaptureFormatFromCaps(Caps(caps).get(), format), E_NOINTERFACE) << caps;
    }
    EXPECT_EQ(CaptureFormatFromCaps(Caps("audio/x-raw,rate=48000").get(), format), S_FALSE);
    EXPECT_EQ(format.header.biWidth, 7);

    format.subtype = Guid{};
    format.header.biHeight = 7;
    EXPECT_EQ(CapsFromCaptureFormat(format, {30, 1}), nullptr);  // unknown subtype
}

class CaptureFormatNegotiatorTest : public test::GstTest {
protected:
    // A remembered format, as the preferences load it.
    static CaptureFormat Remembered(const char* caps) {
        CaptureFormat format;
        EXPECT_EQ(CaptureFormatFromCaps(Caps(caps).get(), format), S_OK);
        return format;
    }

    // Applies the format to a new test camera, streams the camera through the request
    // (if any) and answers the format it streamed.
    static CaptureFormat StreamWith(CaptureFormat& format, HRESULT& applyResult) {
        GstElement* camera = CreatePatternCamera("smpte");
        GstCaps* request = nullptr;
        applyResult = CaptureFormatNegotiator(camera).ApplyCaptureFormat(format, &request);
        test::CapsPtr owned(request);
        auto pipeline = test::CameraPipeline(camera, request);
        CaptureFormat streamed;
        EXPECT_TRUE(test::RunToEos(pipeline.get()));
        EXPECT_EQ(CaptureFormatNegotiator(camera).ReadCaptureFormat(streamed), S_OK);
        return streamed;
    }
};

// That the applied format reaches the device is the source graph's camera test.
TEST_F(CaptureFormatNegotiatorTest,
       ARememberedFormatIsRequestedOnceAnIncompleteOneNeverAndARefusedOneLeavesTheDevicesOwn) {
    const char* kRemembered = "video/x-raw,format=I420,width=320,height=240,framerate=15/1";
    auto camera = test::Adopt(CreatePatternCamera("smpte"));
    const CaptureFormatNegotiator negotiator(camera.get());
    CaptureFormat format = Remembered(kRemembered);
    GstCaps* request = nullptr;
    ASSERT_EQ(negotiator.ApplyCaptureFormat(format, &request), S_OK);
    test::CapsPtr owned(request);
    EXPECT_TRUE(format.applied);
    EXPECT_TRUE(gst_caps_is_equal(request, Caps(kRemembered).get()));
    GstCaps* second = nullptr;
    EXPECT_EQ(negotiator.ApplyCaptureFormat(format, &second), S_OK);
    EXPECT_EQ(second, nullptr);

    const CaptureFormat valid = Remembered(kRemembered);
    CaptureFormat noFrameTime = valid, noWidth = valid, topDown = valid;
    noFrameTime.frameTime = 0;
    noWidth.header.biWidth = 0;
    topDown.header.biHeight = -240;
    for (CaptureFormat* incomplete : {&noFrameTime, &noWidth, &topDown}) {
        GstCaps* none = nullptr;
        EXPECT_EQ(negotiator.ApplyCaptureFormat(*incomplete, &none), S_OK);
        EXPECT_EQ(none, nullptr);
        EXPECT_FALSE(incomplete->applied);
    }

    for (const char* caps : {"video/x-raw,format=YUY2,width=800,height=600,framerate=30/1",
                             "video/x-raw,format=I420,width=640,height=480,framerate=25/1",
                             "image/jpeg,width=640,height=480,framerate=30/1"}) {
        SCOPED_TRACE(caps);
        CaptureFormat format = Remembered(caps);
        HRESULT result = S_OK;
        const CaptureFormat streamed = StreamWith(format, result);
        EXPECT_EQ(result, E_FAIL);
        EXPECT_TRUE(format.applied);
        EXPECT_EQ(std::tuple(streamed.header.biWidth, streamed.header.biCompression, streamed.frameTime),
                  std::tuple(640, MakeFourcc('Y', 'U', 'Y', '2'), 333333));
    }
}

// The test camera's list and the running format chosen in it: the source graph's pin page test.
TEST_F(SourceGraphPinFormats, FixesRangesDropsDuplicatesAndNamesJpeg) {
    test::CapsPtr offered = test::Caps(
        "image/jpeg, width=1920, height=1080, framerate=(fraction){ 30/1, 30000/1001 }; "
        "video/x-raw, format=YUY2, width=[ 160, 640 ], height=[ 120, 480 ], framerate=30/1; "
        "image/jpeg, width=1920, height=1080, framerate=30/1");
    const PinFormatList formats = PinFormatList::FromCaps(offered.get());
    const auto& e = formats.Entries();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(std::tuple(e[0].description, e[1].description, e[2].description),
              std::tuple("MJPG 1920 x 1080, 30 fps", "MJPG 1920 x 1080, 29.97 fps", "YUY2 160 x 120, 30 fps"));
    EXPECT_TRUE(PinFormatList::FromCaps(nullptr).Empty());
}

}  // namespace
}  // namespace lumora
