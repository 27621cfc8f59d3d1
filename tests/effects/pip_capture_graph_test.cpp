// The inset camera's own pipeline: started and stopped as often as the effect is switched,
// it must leave nothing behind.
#include "effects/pip_capture_graph.h"

#include "session/device_camera_catalogue.h"
#include "video/capture_device_list.h"
#include "video/extra_device_list.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace lumora {
namespace {

TEST(PipCaptureGraph, StoppingReleasesThePipelineWithEveryElementEachTime) {
    gst_init(nullptr, nullptr);
    CaptureDeviceList devices([] { return ParseExtraDevices("Red=pattern:red"); });
    devices.EnumerateCaptureDevices();
    const DeviceCameraCatalogue cameras(devices);
    PipCaptureGraph graph;
    for (int round = 0; round < 3; ++round) {
        std::atomic<int> frames{0};
        ASSERT_EQ(
            graph.Build(
                &cameras, 0, [&](const std::uint8_t*, std::size_t, std::int32_t, std::int32_t) { ++frames; }, [] {}),
            S_OK);
        // Frames mean the pipeline went through its state changes and posted their messages.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (frames.load() < 3 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_GE(frames.load(), 3) << "round " << round;

        GstElement* pipeline = GST_ELEMENT(gst_object_ref(graph.pipeline()));
        GstElement* camera = gst_bin_get_by_name(GST_BIN(pipeline), kPipDeviceElementName);
        ASSERT_NE(camera, nullptr);
        graph.Stop();
        EXPECT_EQ(graph.pipeline(), nullptr);
        EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(pipeline), 1) << "round " << round << ": only this test holds the pipeline";
        gst_object_unref(pipeline);
        EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(camera), 1) << "round " << round << ": only this test holds the camera";
        gst_object_unref(camera);
    }
}

}  // namespace
}  // namespace lumora
