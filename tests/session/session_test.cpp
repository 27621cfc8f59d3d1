#include "session/session.h"

#include "config_dir_fixture.h"
#include "effects/picture_in_picture_effect.h"
#include "frames/frame_packet.h"
#include "platform/app_events.h"
#include "platform/message_recorder.h"
#include "scoped_env.h"
#include "test_support.h"
#include "video/extra_device_list.h"

#include <gst/gst.h>
#include <gtest/gtest.h>
#include <QCoreApplication>

#include <chrono>

namespace lumora {
namespace {

std::uintmax_t SizeOf(const std::string& path) { return test::ReadFileBytes(path).size(); }

// Two test cameras and the virtual camera, a packets file, listed as the program lists them.
class SessionTest : public test::ConfigDirTest {
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }

    void SetUp() override {
        ConfigDirTest::SetUp();
        test::WriteFileText(packets_, "");
        devices_.Set(("Cam=pattern:smpte;Red=pattern:red;Lumora Capture=packets:" + packets_).c_str());
    }

    static void Start(Session& session) {
        ASSERT_TRUE(session.EnumerateDevices());
        ASSERT_EQ(session.Link().OpenListed(session.Devices()), VirtualCameraLink::Opening::kOpened);
        session.Initialize();
    }

    test::TempDir folder_;
    const std::string packets_ = folder_.file("vcam");
    test::ScopedEnv devices_{kExtraDevicesVariable, nullptr};
    MessageRecorder messages_;
};

// Without an event target the frames go straight to the virtual camera; the effects get the
// session's cameras and, without an options host, ask nothing; the shutdown stops the graph
// before the effects go and closes the virtual camera.
TEST_F(SessionTest, StartUpWiresFramesAndCamerasAndShutdownStopsEverythingInOrder) {
    Session session(Session::Setup{.programFolder = test::ProgramDir()});
    ASSERT_NO_FATAL_FAILURE(Start(session));
    EXPECT_EQ(session.Store().Processor(), &session.Effects());
    EXPECT_GT(session.Graph().Compressors().Count(), 0);

    EffectChain& effects = session.Effects();
    PictureInPictureEffect* pip = FindPictureInPictureEffect(effects);
    ASSERT_NE(pip, nullptr);
    EXPECT_EQ(effects.ActivateEffect(effects.pipEffectId()), kEffectCancelled);
    EXPECT_FALSE(pip->ShowOptions());
    ASSERT_TRUE(pip->SetSettings(PipSettings{.deviceIndex = 1}));
    ASSERT_EQ(effects.ActivateEffect(effects.pipEffectId()), kEffectStarted);
    EXPECT_NE(pip->SecondPipeline(), nullptr);

    ASSERT_TRUE(session.Graph().SelectCaptureDevice(session.Devices().OpenCaptureFilter(0)));
    ASSERT_TRUE(session.Graph().Run());
    ASSERT_TRUE(test::WaitUntil([&] { return session.Frames().PacketsWritten() >= 3; }, std::chrono::seconds(20)));
    const std::uintmax_t packet = FramePacket::kHeaderSize + 640 * 3 * 480;
    EXPECT_GE(SizeOf(packets_), 3 * packet);

    session.Shutdown();
    EXPECT_EQ(std::tuple(session.Graph().Pipeline(), effects.EffectCount(), session.Link().IsOpen()),
              std::tuple(nullptr, 0u, false));
    const std::uint64_t written = session.Frames().PacketsWritten();
    QCoreApplication::processEvents();
    EXPECT_EQ(session.Frames().PacketsWritten(), written);
    session.Shutdown();  // harmless again, as the destructor does it
    EXPECT_TRUE(messages_.Messages().empty());
}

// With an event target the frames and the graph's news go there instead.
TEST_F(SessionTest, AnEventTargetTakesTheFramesInsteadOfTheVirtualCamera) {
    struct Target : QObject {
        bool event(QEvent* event) override {
            frames += event->type() == EventType(MSG_FRAME_READY);
            return true;
        }
        int frames = 0;
    } target;
    Session session(Session::Setup{.programFolder = test::ProgramDir(), .eventTarget = &target});
    ASSERT_NO_FATAL_FAILURE(Start(session));
    ASSERT_TRUE(session.Graph().SelectCaptureDevice(session.Devices().OpenCaptureFilter(1)));
    ASSERT_TRUE(session.Graph().Run());
    ASSERT_TRUE(test::WaitUntil([&] { return target.frames >= 2; }, std::chrono::seconds(20)));
    EXPECT_EQ(std::tuple(session.Frames().PacketsWritten(), SizeOf(packets_)), std::tuple(0u, 0u));
}

}  // namespace
}  // namespace lumora
