#include "capture_device_gst_fixture.h"
#include "video/capture_format_caps.h"
#include "video/capture_format_negotiator.h"
#include "video/test_device_camera.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::Caps;

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

TEST_F(CaptureFormatNegotiatorTest, RememberedFormatIsAppliedOnceAndReachesTheDevice) {
    const CaptureFormat remembered = Remembered("video/x-raw,format=I420,width=320,height=240,framerate=15/1");
    CaptureFormat format = remembered;
    HRESULT result = E_UNEXPECTED;
    const CaptureFormat streamed = StreamWith(format, result);
    EXPECT_EQ(result, S_OK);
    EXPECT_TRUE(format.applied);
    EXPECT_EQ(streamed.header.biWidth, 320);
    EXPECT_EQ(streamed.header.biCompression, remembered.header.biCompression);
    EXPECT_EQ(streamed.frameTime, 666666);

    // Asked for as the device spells the rate; and only by the first capture build.
    auto camera = test::Adopt(CreatePatternCamera("smpte"));
    const CaptureFormatNegotiator negotiator(camera.get());
    format = remembered;
    GstCaps* request = nullptr;
    ASSERT_EQ(negotiator.ApplyCaptureFormat(format, &request), S_OK);
    test::CapsPtr owned(request);
    EXPECT_TRUE(gst_caps_is_equal(
        request, Caps("video/x-raw,format=I420,width=320,height=240,framerate=15/1").get()));
    GstCaps* second = nullptr;
    EXPECT_EQ(negotiator.ApplyCaptureFormat(format, &second), S_OK);
    EXPECT_EQ(second, nullptr);

    // Reading before anything was negotiated clears the record but keeps the flag.
    EXPECT_EQ(negotiator.ReadCaptureFormat(format), S_OK);
    EXPECT_EQ(format.frameTime, 0);
    EXPECT_TRUE(format.applied);
}

TEST_F(CaptureFormatNegotiatorTest, IncompleteFormatIsNeitherAppliedNorMarked) {
    auto camera = test::Adopt(CreatePatternCamera("smpte"));
    const CaptureFormat valid = Remembered("video/x-raw,format=I420,width=320,height=240,framerate=15/1");
    CaptureFormat noFrameTime = valid, noWidth = valid, topDown = valid;
    noFrameTime.frameTime = 0;
    noWidth.header.biWidth = 0;
    topDown.header.biHeight = -240;
    for (CaptureFormat* format : {&noFrameTime, &noWidth, &topDown}) {
        GstCaps* request = nullptr;
        EXPECT_EQ(CaptureFormatNegotiator(camera.get()).ApplyCaptureFormat(*format, &request), S_OK);
        EXPECT_EQ(request, nullptr);
        EXPECT_FALSE(format->applied);
    }
}

TEST_F(CaptureFormatNegotiatorTest, RefusedFormatLeavesTheDevicesOwn) {
    for (const char* caps : {"video/x-raw,format=YUY2,width=800,height=600,framerate=30/1",
                             "video/x-raw,format=I420,width=640,height=480,framerate=25/1",
                             "image/jpeg,width=640,height=480,framerate=30/1"}) {
        SCOPED_TRACE(caps);
        CaptureFormat format = Remembered(caps);
        HRESULT result = S_OK;
        const CaptureFormat streamed = StreamWith(format, result);
        EXPECT_EQ(result, E_FAIL);
        EXPECT_TRUE(format.applied);
        EXPECT_EQ(streamed.header.biWidth, 640);
        EXPECT_EQ(streamed.header.biCompression, MakeFourcc('Y', 'U', 'Y', '2'));
        EXPECT_EQ(streamed.frameTime, 333333);
    }
}

}  // namespace
}  // namespace lumora
