#include "session/virtual_camera_startup.h"
#include "config_dir_fixture.h"
#include "platform/message_recorder.h"
#include "private_pipewire.h"
#include "scoped_env.h"
#include "test_support.h"
#include "vcam/vcam_backend.h"
#include "video/capture_device_list.h"
#include "video/virtual_camera_link.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr const char kQuestion[] =
    "Error initializing virtual web-camera device (Parvel)! Only preview functions will be "
    "available. Would you like to continue?";

CaptureDeviceList ListOf(std::vector<CaptureDeviceInfo> devices) {
    return CaptureDeviceList([devices] { return devices; });
}

TEST(VirtualCameraStartup, OpensTheDeviceNamedLumoraCaptureWithoutAWord) {
    test::TempDir dir;
    test::WriteFileText(dir.file("vcam"), "");
    auto devices = ListOf({{"Webcam", "pattern:ball"},
                           {"Lumora Capture", std::nullopt},
                           {"Lumora Capture", "packets:" + dir.file("vcam")}});
    VirtualCameraLink link;
    MessageRecorder messages;

    EXPECT_EQ(ConnectVirtualCamera(devices, link), StartupOutcome::kContinue);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(VirtualCameraStartup, WithoutTheDeviceTheUserIsAskedAndNoExits) {
    {  // no device at all: a warning first, then the question
        auto devices = ListOf({});
        VirtualCameraLink link;
        MessageRecorder messages(id::kNo);
        EXPECT_EQ(ConnectVirtualCamera(devices, link), StartupOutcome::kExit);
        ASSERT_EQ(messages.Messages().size(), 2u);
        const auto& shown = messages.Messages();
        EXPECT_EQ(std::tie(shown[0].text, shown[0].flags, shown[1].text, shown[1].flags),
                  std::tuple("There are no available video capture devices in the system!", 0x30u, kQuestion, 0x34u));
    }
    // A listed device that does not open: only the question, and yes runs on without it.
    test::TempDir dir;
    auto devices = ListOf({{"Webcam", "pattern:ball"}, {"Lumora Capture", "packets:" + dir.file("missing")}});
    VirtualCameraLink link;
    MessageRecorder messages(id::kYes);
    EXPECT_EQ(ConnectVirtualCamera(devices, link), StartupOutcome::kContinue);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(std::tuple(messages.Messages()[0].text, link.IsOpen()), std::tuple(kQuestion, false));
}

// Start-up with the PipeWire camera standing in for the loopback device, against a real
// PipeWire daemon of the test's own.
class PipeWireStartupTest : public test::ConfigDirTest {
protected:
    test::ScopedEnv devices_{"LUMORA_TEST_DEVICES", "Cam=pattern:smpte"};
};

TEST_F(PipeWireStartupTest, OnlyThePipeWireCameraAsksNothingAndNeitherAsksAsBefore) {
    if (const std::string missing = test::PrivatePipeWire::Missing(); !missing.empty()) GTEST_SKIP() << missing;
    {
        test::PrivatePipeWire daemon;
        std::string why;
        ASSERT_TRUE(daemon.Running(&why)) << why;
        CaptureDeviceList devices;
        VirtualCameraLink link;
        MessageRecorder messages(id::kNo);
        EXPECT_EQ(ConnectVirtualCamera(devices, link), StartupOutcome::kContinue);
        EXPECT_EQ(std::tuple(messages.Messages().size(), link.Path(), link.Consumers()),
                  std::tuple(0u, "pipewire:lumora-capture", 0));

        // A user who chose the loopback device is asked, PipeWire or not.
        ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, kVcamSettingsKey, "Backend", "loopback"));
        CaptureDeviceList loopbackOnly;
        VirtualCameraLink unopened;
        EXPECT_EQ(ConnectVirtualCamera(loopbackOnly, unopened), StartupOutcome::kExit);
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0].text, kQuestion);
        ASSERT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, kVcamSettingsKey, "Backend"));
    }
    // No daemon and no loopback device: the question as before.
    test::TempDir empty;
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", empty.path().c_str());
    CaptureDeviceList devices;
    VirtualCameraLink link;
    MessageRecorder messages(id::kNo);
    EXPECT_EQ(ConnectVirtualCamera(devices, link), StartupOutcome::kExit);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(std::tie(messages.Messages()[0].text, messages.Messages()[0].flags), std::tuple(kQuestion, 0x34u));
}

}  // namespace
}  // namespace lumora
