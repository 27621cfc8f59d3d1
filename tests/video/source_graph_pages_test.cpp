#include "capture_device_gst_fixture.h"
#include "video/device_controls.h"
#include "video/pattern_camera.h"
#include "video/pin_format_list.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

class SourceGraphPinFormats : public test::GstTest {};

TEST_F(SourceGraphPinFormats, SpreadsTheDeviceFormatsInItsOrder) {
    GstCaps* offered = PatternCameraCaps();
    const PinFormatList formats = PinFormatList::FromCaps(offered);
    gst_caps_unref(offered);
    ASSERT_EQ(formats.Entries().size(), 12u);  // 2 pixel formats x 3 sizes x 2 rates
    EXPECT_EQ(formats.Entries()[0].description, "YUY2 640 x 480, 30 fps");
    EXPECT_EQ(formats.Entries()[1].description, "YUY2 640 x 480, 15 fps");
    EXPECT_EQ(formats.Entries()[11].description, "I420 320 x 240, 15 fps");
    for (const PinFormatList::Entry& entry : formats.Entries()) EXPECT_TRUE(gst_caps_is_fixed(entry.caps));

    test::CapsPtr running = test::Caps(
        "video/x-raw, format=I420, width=1280, height=720, pixel-aspect-ratio=1/1, framerate=15/1");
    EXPECT_EQ(formats.IndexOf(running.get()), 9);
    EXPECT_EQ(formats.IndexOf(nullptr), -1);
}

TEST_F(SourceGraphPinFormats, FixesRangesDropsDuplicatesAndNamesJpeg) {
    test::CapsPtr offered = test::Caps(
        "image/jpeg, width=1920, height=1080, framerate=(fraction){ 30/1, 30000/1001 }; "
        "video/x-raw, format=YUY2, width=[ 160, 640 ], height=[ 120, 480 ], framerate=30/1; "
        "image/jpeg, width=1920, height=1080, framerate=30/1");
    const PinFormatList formats = PinFormatList::FromCaps(offered.get());
    ASSERT_EQ(formats.Entries().size(), 3u);
    EXPECT_EQ(formats.Entries()[0].description, "MJPG 1920 x 1080, 30 fps");
    EXPECT_EQ(formats.Entries()[1].description, "MJPG 1920 x 1080, 29.97 fps");
    EXPECT_EQ(formats.Entries()[2].description, "YUY2 160 x 120, 30 fps");
    EXPECT_TRUE(PinFormatList::FromCaps(nullptr).Empty());
}

TEST(SourceGraphControlsPage, OnlyAV4l2SourceHasDeviceControls) {
    gst_init(nullptr, nullptr);
    test::ElementPtr camera = test::Adopt(CreatePatternCamera("smpte"));
    EXPECT_EQ(DeviceControls::ForCaptureElement(camera.get()), nullptr);
    test::ElementPtr gone = test::Adopt(gst_element_factory_make("v4l2src", nullptr));
    if (gone) {
        g_object_set(gone.get(), "device", "/dev/no-such-video-node", nullptr);
        EXPECT_EQ(DeviceControls::ForCaptureElement(gone.get()), nullptr);
    }
}

}  // namespace
}  // namespace lumora
