#include "effects/picture_in_picture_effect.h"

#include "config_dir_fixture.h"
#include "session/device_camera_catalogue.h"
#include "test_frames.h"
#include "video/capture_device_list.h"
#include "video/extra_device_list.h"

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
bool IsRed(TestFrame& frame, int x, int y) { return Is(frame, x, y, 0, 0, 255, 8); }
bool IsGrey(TestFrame& frame, int x, int y) { return Is(frame, x, y, kGrey, kGrey, kGrey); }
bool IsDark(TestFrame& frame, int x, int y) { return Is(frame, x, y, 0, 0, 16); }
bool IsWhite(TestFrame& frame, int x, int y) { return Is(frame, x, y, 255, 255, 255); }
using PixelTest = std::function<bool(TestFrame&, int, int)>;

// Every pixel of the rectangle (x, y from the bottom row) passes `test`.
bool All(TestFrame& frame, int x, int y, int w, int h, const PixelTest& test) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            if (!test(frame, i, j)) return false;
        }
    }
    return true;
}

class PictureInPictureTest : public test::ConfigDirTest {
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }

    void SetUp() override {
        ConfigDirTest::SetUp();
        effect_.SetCameraCatalogue(&cameras_);
    }

    // Runs main frames through the effect until the inset shows the camera at (x, y).
    TestFrame WaitForInset(int width, int height, int x, int y, PixelTest shown = IsRed) {
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
// right 305, bottom 139). The other corners, without margin, are the next case's.
TEST_F(PictureInPictureTest, DarkBoxUntilTheCameraThenTheInsetAndTheDarkBoxAgainWhenTheCameraGoes) {
    PipSettings settings;
    settings.deviceIndex = kRedCamera;
    ASSERT_TRUE(effect_.SetSettings(settings));
    ASSERT_EQ(effect_.Start(), kEffectStarted);
    ASSERT_NE(effect_.SecondPipeline(), nullptr);

    // The inset at (x, y), w x h, all of it `inside`; the white border around it; every
    // other pixel as it was.
    const auto check = [&](TestFrame frame, int x, int y, int w, int h, PixelTest inside) {
        EXPECT_TRUE(All(frame, x, y, w, h, inside)) << "the box";
        EXPECT_TRUE(All(frame, x - 1, y - 1, w + 2, 1, IsWhite) && All(frame, x - 1, y + h, w + 2, 1, IsWhite));
        EXPECT_TRUE(All(frame, x - 1, y - 1, 1, h + 2, IsWhite) && All(frame, x + w, y - 1, 1, h + 2, IsWhite));
        const auto bordered = [&](int i, int j) { return i >= x - 1 && i <= x + w && j >= y - 1 && j <= y + h; };
        EXPECT_TRUE(All(frame, 0, 0, frame.width, frame.height, [&](TestFrame& f, int i, int j) {
            return bordered(i, j) || IsGrey(f, i, j);
        })) << "nothing else changed";
    };
    const auto processed = [&] {
        TestFrame frame(320, 240, kGrey);
        EXPECT_TRUE(effect_.ProcessFrame(frame.data(), 320, 240, 0.0));
        return frame;
    };
    check(processed(), 192, 140, 112, 84, IsDark);
    check(WaitForInset(320, 240, 200, 150), 192, 140, 112, 84, IsRed);

    // The camera fails as an unplugged one does: an error, and no more frames; the dark box
    // comes back.
    GstElement* camera = gst_bin_get_by_name(GST_BIN(effect_.SecondPipeline()), kPipDeviceElementName);
    ASSERT_NE(camera, nullptr);
    gst_element_set_locked_state(camera, TRUE);
    gst_element_set_state(camera, GST_STATE_NULL);
    GST_ELEMENT_ERROR(camera, RESOURCE, NOT_FOUND, ("device gone"), ("unplugged"));
    gst_object_unref(camera);

    check(processed(), 192, 140, 112, 84, IsDark);
}

TEST_F(PictureInPictureTest, SettingsLoadOnlyInRangeValuesAndTheInsetKeepsTheCamerasProportionsWhenAsked) {
    const char* key = "SOFTWARE\\Lumora\\9FFBA7A9-17C1-4490-BC91-5273A4314C0E";
    const auto load = [&](std::initializer_list<std::pair<const char*, std::uint32_t>> values) {
        for (const auto& [name, value] : values) WriteRegDword(HKEY_LOCAL_MACHINE, key, name, value);
        effect_.LoadSettings(HKEY_LOCAL_MACHINE, key);
    };
    load({{"WindowPosition", 5}, {"Margin", 101}, {"WindowSize", 4}, {"DrawBorder", 0}, {"BorderColor", 0x00123456}});
    EXPECT_EQ(effect_.settings(), (PipSettings{.drawBorder = false, .borderColour = 0x00123456}));
    // DrawBorder 0xFFFFFFFF reads as missing.
    load({{"WindowPosition", 4}, {"Margin", 100}, {"WindowSize", 5}});
    load({{"MaintainProportions", 7}, {"DrawBorder", 0xFFFFFFFF}});
    const PipSettings expected{4, 100, -1, false, 0x00123456, 5, true};
    EXPECT_EQ(effect_.settings(), expected);

    const char* copy = "SOFTWARE\\Lumora\\copy";
    effect_.SaveSettings(HKEY_LOCAL_MACHINE, copy);
    PictureInPictureEffect reloaded;
    reloaded.LoadSettings(HKEY_LOCAL_MACHINE, copy);
    EXPECT_EQ(reloaded.settings(), expected) << "the device is not kept";

    EXPECT_FALSE(effect_.SetSettings(PipSettings{.position = 5}));

    // The virtual camera, a device whose node has gone and one past the list give no video.
    for (const int index : {0, 2, 9}) {
        ASSERT_TRUE(effect_.SetSettings(PipSettings{.deviceIndex = index}));
        EXPECT_EQ(effect_.Start(), kEffectFailed) << index;
        EXPECT_FALSE(effect_.IsRunning());
    }
    PictureInPictureEffect noList;
    noList.SetSettings(PipSettings{.deviceIndex = kRedCamera});
    EXPECT_EQ(noList.Start(), kEffectFailed);

    // A 4:3 camera in a box of 35 % of the main frame, at its corner: in a 16:9 frame the box
    // is 224 x 126 and kept proportions make the inset 168 x 126, in a portrait frame the box
    // is 112 x 224 and the inset 112 x 84; otherwise the inset fills the box. Each Stop lets go
    // of the camera's pipeline and of every element in it.
    const struct {
        int width, height;
        bool kept;
        std::int32_t position;
        int x, w, h;  // the inset, on the bottom row
    } cases[] = {{640, 360, true, kPipBottomRight, 472, 168, 126},
                 {320, 640, true, kPipBottomLeft, 0, 112, 84},
                 {640, 360, false, kPipBottomLeft, 0, 224, 126}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " kept " << c.kept);
        ASSERT_TRUE(effect_.SetSettings(PipSettings{.position = c.position,
                                                    .margin = 0,
                                                    .deviceIndex = kRedCamera,
                                                    .drawBorder = false,
                                                    .maintainProportions = c.kept}));
        ASSERT_EQ(effect_.Start(), kEffectStarted);
        TestFrame frame = WaitForInset(c.width, c.height, c.x + c.w - 1, 0);
        EXPECT_TRUE(All(frame, c.x, 0, c.w, c.h, IsRed));
        EXPECT_TRUE(IsGrey(frame, c.x > 0 ? c.x - 1 : c.x + c.w, 0) && IsGrey(frame, c.x, c.h));

        GstElement* pipeline = GST_ELEMENT(gst_object_ref(effect_.SecondPipeline()));
        GstElement* camera = gst_bin_get_by_name(GST_BIN(pipeline), kPipDeviceElementName);
        ASSERT_NE(camera, nullptr);
        effect_.Stop();
        EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(pipeline), 1) << "only this test holds the pipeline";
        gst_object_unref(pipeline);
        EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(camera), 1) << "only this test holds the camera";
        gst_object_unref(camera);
    }
}

}  // namespace
}  // namespace lumora
