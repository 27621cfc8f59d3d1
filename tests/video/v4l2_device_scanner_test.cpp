#include "capture_device_gst_fixture.h"
#include "test_support.h"
#include "video/capture_device_list.h"
#include "video/v4l2_device_scanner.h"

#include <linux/videodev2.h>

#include <gtest/gtest.h>

#include <map>

namespace lumora {
namespace {

namespace fs = std::filesystem;

class FakeQuery : public CaptureDeviceQuery {
public:
    std::optional<V4l2Capability> QueryCapability(const fs::path& node) const override {
        const auto found = answers.find(node.filename().string());
        return found == answers.end() ? std::nullopt : std::optional(found->second);
    }
    std::map<std::string, V4l2Capability> answers;
};

constexpr std::uint32_t kCapture = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
constexpr std::uint32_t kUvcNode = kCapture | V4L2_CAP_META_CAPTURE | V4L2_CAP_DEVICE_CAPS;

// A USB camera (capture node video0, metadata node video1), a v4l2loopback device nobody
// writes to yet (video2), a node that cannot be opened (video3), an output device of
// another driver (video4) and an old multi-planar driver without per-node caps (video10).
class V4l2DeviceScannerTest : public test::GstTest {
protected:
    void SetUp() override {
        fs::create_directories(dir_.path() / "dev/v4l/by-id");
        AddNode("video0", {"uvcvideo", "UVC Camera (046d:0825)", kUvcNode, kCapture}, "81:0");
        AddNode("video1", {"uvcvideo", "UVC Camera (046d:0825)", kUvcNode, V4L2_CAP_META_CAPTURE}, "81:1");
        AddNode("video2", {"v4l2 loopback", "Lumora Capture", V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_DEVICE_CAPS,
                           V4L2_CAP_VIDEO_OUTPUT});
        AddNode("video4", {"vivid", "vivid", V4L2_CAP_VIDEO_OUTPUT, 0});
        AddNode("video10", {"old", "Multi-planar Cam", V4L2_CAP_VIDEO_CAPTURE_MPLANE, 0});
        for (const char* file : {"dev/video3", "dev/video", "dev/video-extra"}) test::WriteFileText(Path(file), "");
        const std::pair<const char*, const char*> links[] = {
            {"usb-cam-video-index1", "../../video1"}, {"usb-cam-video-index0", "../../video0"},
            {"usb-cam-video-index0-x", "../../video0"}, {"usb-gone-video-index0", "../../video9"}};
        for (const auto& [link, target] : links) fs::create_symlink(target, dir_.path() / "dev/v4l/by-id" / link);
    }

    std::string Path(const char* relative) const { return (dir_.path() / relative).string(); }

    // A node; with `majorMinor`, also its sysfs entry and udev record naming the product.
    void AddNode(const std::string& name, V4l2Capability capability, const std::string& majorMinor = "") {
        test::WriteFileText(Path(("dev/" + name).c_str()), "");
        query_.answers[name] = std::move(capability);
        if (majorMinor.empty()) return;
        fs::create_directories(dir_.path() / "sys/class/video4linux" / name);
        fs::create_directories(dir_.path() / "run/udev/data");
        test::WriteFileText(Path(("sys/class/video4linux/" + name + "/dev").c_str()), majorMinor + "\n");
        test::WriteFileText(Path(("run/udev/data/c" + majorMinor).c_str()),
                            "E:ID_V4L_VERSION=2\nE:ID_V4L_PRODUCT=Webcam C270\n");
    }

    std::vector<CaptureDeviceInfo> Scan() const { return V4l2DeviceScanner(dir_.path(), query_).Scan(); }

    test::TempDir dir_;
    FakeQuery query_;
};

TEST_F(V4l2DeviceScannerTest, ListsCaptureAndLoopbackNodesInDeviceNumberOrderAndOpensThemUntilTheyDisappear) {
    const std::vector<CaptureDeviceInfo> expected{
        {"Webcam C270", Path("dev/v4l/by-id/usb-cam-video-index0")},
        {"Lumora Capture", Path("dev/video2")},
        {"Multi-planar Cam", Path("dev/video10")},
    };
    EXPECT_EQ(Scan(), expected);

    CaptureDeviceList list([this] { return Scan(); });
    ASSERT_TRUE(list.EnumerateCaptureDevices());
    if (!test::HaveElement("v4l2src")) GTEST_SKIP() << "v4l2src is not installed";

    auto source = test::Adopt(list.OpenCaptureFilter(0));
    ASSERT_TRUE(source);
    gchar* device = nullptr;
    g_object_get(source.get(), "device", &device, nullptr);
    EXPECT_EQ(std::string(device), Path("dev/v4l/by-id/usb-cam-video-index0"));
    g_free(device);

    fs::remove(dir_.path() / "dev/video0");  // unplugged: the by-id link dangles
    EXPECT_EQ(list.OpenCaptureFilter(0), nullptr);
}

}  // namespace
}  // namespace lumora
