#include "effects/picture_in_picture_effect.h"

#include "config_dir_fixture.h"
#include "session/device_camera_catalogue.h"
#include "test_frames.h"
#include "video/capture_device_list.h"
#include "video/extra_device_list.h"
#include "video/pattern_camera.h"

#include <lumora/registry.h>

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace lumora {
namespace {

using test::TestFrame;

constexpr int kRedCamera = 1;
constexpr std::uint8_t kGrey = 128;

// 0 the virtual camera (gives no video), 1 a camera showing plain red, 2 a device whose
// node has gone.
CaptureDeviceList TestDevices() {
    CaptureDeviceList devices(
        [] { return ParseExtraDevices("Lumora Capture=packets:/dev/null;Red=pattern:red;Gone=/dev/lumora-gone"); });
    devices.EnumerateCaptureDevices();
    return devices;
}

bool Is(TestFrame& frame, int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r, int tolerance = 0) {
    const std::uint8_t* p = frame.pixel(x, y);
    return std::abs(p[0] - b) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - r) <= tolerance;
}

// Every pixel of the rectangle (x, y from the bottom row) passes `test`.
bool All(int x, int y, int w, int h, const std::function<bool(int, int)>& test) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            if (!test(i, j)) return false;
        }
    }
    return true;
}

bool IsRed(TestFrame& frame, int x, int y) { return Is(frame, x, y, 0, 0, 255, 8); }
bool IsBlue(TestFrame& frame, int x, int y) { return Is(frame, x, y, 255, 0, 0, 8); }
bool IsGrey(TestFrame& frame, int x, int y) { return Is(frame, x, y, kGrey, kGrey, kGrey); }

// Puts `camera` in the place of the second camera in the effect's running pipeline.
void ReplaceCamera(GstElement* pipeline, GstElement* camera) {
    gst_element_set_state(pipeline, GST_STATE_NULL);
    GstElement* old = gst_bin_get_by_name(GST_BIN(pipeline), kPipDeviceElementName);
    GstPad* out = gst_element_get_static_pad(old, "src");
    GstPad* peer = gst_pad_get_peer(out);
    GstElement* next = gst_pad_get_parent_element(peer);
    gst_bin_remove(GST_BIN(pipeline), old);
    gst_element_set_name(camera, kPipDeviceElementName);
    gst_bin_add(GST_BIN(pipeline), camera);
    EXPECT_TRUE(gst_element_link(camera, next));
    gst_object_unref(next);
    gst_object_unref(peer);
    gst_object_unref(out);
    gst_object_unref(old);
    EXPECT_NE(gst_element_set_state(pipeline, GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
}

class PictureInPictureTest : public test::ConfigDirTest {
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }

    void SetUp() override {
        ConfigDirTest::SetUp();
        effect_.SetCameraCatalogue(&cameras_);
    }

    // Runs main frames through the effect until the inset shows the camera at (x, y).
    TestFrame WaitForInset(int width, int height, int x, int y, bool (*shown)(TestFrame&, int, int) = IsRed) {
        TestFrame frame(width, height, kGrey);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            frame = TestFrame(width, height, kGrey);
            effect_.ProcessFrame(frame.data(), width, height, 0.0);
            if (shown(frame, x, y)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return frame;
    }

    CaptureDeviceList devices_ = TestDevices();
    DeviceCameraCatalogue cameras_{devices_};
    PictureInPictureEffect effect_;
};

// 320 x 240 main frames, size 35, margin 15, border on, top-right, a 640 x 480 camera:
// the box is 112 x 84 at (192, 140), its border one pixel around it (left 191, top 225,
// right 305, bottom 139). A 640 x 360 camera fills 112 x 63 of it.
TEST_F(PictureInPictureTest, DarkBoxUntilTheCameraThenTheInsetAndTheDarkBoxAgainWhenTheCameraGoes) {
    PipSettings settings;
    settings.deviceIndex = kRedCamera;
    ASSERT_TRUE(effect_.SetSettings(settings));
    ASSERT_EQ(effect_.Start(), kEffectStarted);
    ASSERT_NE(effect_.SecondPipeline(), nullptr);

    // The inset at (x, y), w x h, all of it `inside`; the white border around it; every
    // other pixel as it was.
    const auto check = [&](TestFrame& frame, int x, int y, int w, int h, const std::function<bool(int, int)>& inside) {
        EXPECT_TRUE(All(x, y, w, h, inside)) << "the box";
        const auto white = [&](int i, int j) { return Is(frame, i, j, 255, 255, 255); };
        EXPECT_TRUE(All(x - 1, y - 1, w + 2, 1, white) && All(x - 1, y + h, w + 2, 1, white)) << "border rows";
        EXPECT_TRUE(All(x - 1, y - 1, 1, h + 2, white) && All(x + w, y - 1, 1, h + 2, white)) << "border columns";
        const auto bordered = [&](int i, int j) { return i >= x - 1 && i <= x + w && j >= y - 1 && j <= y + h; };
        EXPECT_TRUE(All(0, 0, frame.width, frame.height,
                        [&](int i, int j) { return bordered(i, j) || IsGrey(frame, i, j); }))
            << "nothing else changed";
    };
    const auto dark = [](TestFrame& frame) { return [&frame](int x, int y) { return Is(frame, x, y, 0, 0, 16); }; };
    const auto red = [](TestFrame& frame) { return [&frame](int x, int y) { return IsRed(frame, x, y); }; };

    TestFrame first(320, 240, kGrey);
    ASSERT_TRUE(effect_.ProcessFrame(first.data(), 320, 240, 0.0));
    check(first, 192, 140, 112, 84, dark(first));

    TestFrame inset = WaitForInset(320, 240, 200, 150);
    check(inset, 192, 140, 112, 84, red(inset));

    // Bottom-left sits at (margin + 1, margin + 1).
    settings.position = kPipBottomLeft;
    ASSERT_TRUE(effect_.SetSettings(settings));
    TestFrame bottomLeft(320, 240, kGrey);
    effect_.ProcessFrame(bottomLeft.data(), 320, 240, 0.0);
    check(bottomLeft, 16, 16, 112, 84, red(bottomLeft));

    // A 16:9 camera: the box is 112 x 84, a 640 x 360 picture fits it at 112 x 63.
    settings.position = kPipTopRight;
    ASSERT_TRUE(effect_.SetSettings(settings));
    GstCaps* wide = gst_caps_from_string("video/x-raw,format=YUY2,width=640,height=360,framerate=30/1");
    GstElement* wideCamera = CreatePatternSource("blue", wide, true);
    gst_caps_unref(wide);
    ASSERT_NE(wideCamera, nullptr);
    ReplaceCamera(effect_.SecondPipeline(), wideCamera);
    TestFrame wideInset = WaitForInset(320, 240, 200, 170, IsBlue);
    check(wideInset, 192, 161, 112, 63, [&](int x, int y) { return IsBlue(wideInset, x, y); });

    // The camera fails as an unplugged one does: an error, and no more frames.
    GstElement* camera = gst_bin_get_by_name(GST_BIN(effect_.SecondPipeline()), kPipDeviceElementName);
    ASSERT_NE(camera, nullptr);
    gst_element_set_locked_state(camera, TRUE);
    gst_element_set_state(camera, GST_STATE_NULL);
    GError* error = g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NOT_FOUND, "device gone");
    gst_element_post_message(camera, gst_message_new_error(GST_OBJECT(camera), error, "unplugged"));
    g_error_free(error);
    gst_object_unref(camera);

    TestFrame after(320, 240, kGrey);
    ASSERT_TRUE(effect_.ProcessFrame(after.data(), 320, 240, 0.0));
    check(after, 192, 140, 112, 84, dark(after));
    effect_.Stop();
    EXPECT_EQ(effect_.SecondPipeline(), nullptr);
    TestFrame stopped(320, 240, kGrey);
    effect_.ProcessFrame(stopped.data(), 320, 240, 0.0);
    check(stopped, 192, 140, 112, 84, dark(stopped));
}

// A 16:9 main frame and a 4:3 camera: the box is 224 x 126; kept proportions make the
// inset 168 x 126, otherwise it fills the box.
TEST_F(PictureInPictureTest, InsetKeepsTheCamerasProportionsInsideTheBoxWhenAsked) {
    PipSettings settings;
    settings.deviceIndex = kRedCamera;
    settings.position = kPipBottomRight;
    settings.margin = 0;
    settings.drawBorder = false;
    ASSERT_TRUE(effect_.SetSettings(settings));
    ASSERT_EQ(effect_.Start(), kEffectStarted);
    TestFrame kept = WaitForInset(640, 360, 639, 0);
    EXPECT_TRUE(All(472, 0, 168, 126, [&](int x, int y) { return IsRed(kept, x, y); }));
    EXPECT_TRUE(IsGrey(kept, 471, 0) && IsGrey(kept, 639, 126));

    settings.maintainProportions = false;
    settings.position = kPipBottomLeft;
    ASSERT_TRUE(effect_.SetSettings(settings));
    EXPECT_FALSE(effect_.SetSettings(PipSettings{.position = 5}));
    TestFrame filled = WaitForInset(640, 360, 223, 0);
    EXPECT_TRUE(All(0, 0, 224, 126, [&](int x, int y) { return IsRed(filled, x, y); }));
    EXPECT_TRUE(IsGrey(filled, 224, 0) && IsGrey(filled, 0, 126));
    effect_.Stop();
}

TEST_F(PictureInPictureTest, StartFailsForADeviceWithoutVideo) {
    for (const int index : {0, 2, 9}) {
        PipSettings settings;
        settings.deviceIndex = index;
        ASSERT_TRUE(effect_.SetSettings(settings));
        EXPECT_EQ(effect_.Start(), kEffectFailed) << index;
        EXPECT_FALSE(effect_.IsRunning());
    }
    PictureInPictureEffect noList;
    noList.SetSettings(PipSettings{.deviceIndex = kRedCamera});
    EXPECT_EQ(noList.Start(), kEffectFailed);
}

TEST_F(PictureInPictureTest, SettingsLoadOnlyValuesInRangeAndRoundTrip) {
    const char* key = "SOFTWARE\\Lumora\\9FFBA7A9-17C1-4490-BC91-5273A4314C0E";
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "WindowPosition", 5);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "Margin", 101);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "WindowSize", 4);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "DrawBorder", 0);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "BorderColor", 0x00123456);
    effect_.LoadSettings(HKEY_LOCAL_MACHINE, key);
    PipSettings expected;
    expected.drawBorder = false;
    expected.borderColour = 0x00123456;
    EXPECT_EQ(effect_.settings(), expected);

    WriteRegDword(HKEY_LOCAL_MACHINE, key, "WindowPosition", 4);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "Margin", 100);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "WindowSize", 5);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "MaintainProportions", 7);
    WriteRegDword(HKEY_LOCAL_MACHINE, key, "DrawBorder", 0xFFFFFFFF);  // reads as missing
    effect_.LoadSettings(HKEY_LOCAL_MACHINE, key);
    expected = PipSettings{4, 100, -1, false, 0x00123456, 5, true};
    EXPECT_EQ(effect_.settings(), expected);

    const char* copy = "SOFTWARE\\Lumora\\copy";
    effect_.SaveSettings(HKEY_LOCAL_MACHINE, copy);
    PictureInPictureEffect reloaded;
    reloaded.LoadSettings(HKEY_LOCAL_MACHINE, copy);
    EXPECT_EQ(reloaded.settings(), expected) << "the device is not kept";
}

}  // namespace
}  // namespace lumora
