#include "source_graph_fixture.h"
#include "tools/device_controls_dialog.h"
#include "tools/dialog_host.h"
#include "tools/pin_format_dialog.h"
#include "video/capture_format_caps.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSlider>
#include <QTimer>

#include <map>
#include <thread>

#include <unistd.h>

namespace lumora {
namespace {

using test::SourceGraphTest;

class SourceGraphCamera : public SourceGraphTest {};

bool IsGrey(const unsigned char* pixel) {
    return pixel[0] > 150 && std::abs(pixel[0] - pixel[1]) < 12 && std::abs(pixel[1] - pixel[2]) < 12;
}

// A camera bin with a capture pad "src" and a video port "vp".
GstElement* CameraWithVideoPort() {
    GstElement* bin = gst_bin_new(nullptr);
    for (const char* pad : {"src", "vp"}) {
        GstElement* source = gst_element_factory_make("videotestsrc", nullptr);
        g_object_set(source, "is-live", TRUE, nullptr);
        gst_bin_add(GST_BIN(bin), source);
        GstPad* inner = gst_element_get_static_pad(source, "src");
        gst_element_add_pad(bin, gst_ghost_pad_new(pad, inner));
        gst_object_unref(inner);
    }
    return bin;
}

TEST_F(SourceGraphCamera, ACaptureGraphStoresFramesBottomRowFirstTearsDownCleanlyAndRendersAVideoPortToNothing) {
    ASSERT_TRUE(graph_.SelectCaptureDevice(Camera()));

    EXPECT_EQ(graph_.RenderedKind(), SourceKind::kCaptureDevice);
    const std::string name = GST_OBJECT_NAME(graph_.Pipeline());
    EXPECT_EQ(name, GraphRegistration::PipelineName(graph_.Pipeline(), static_cast<unsigned>(getpid())));
    for (const char* element : {"Video Capture", "Capture Format", "Grabber", "InfTee1", "Video Renderer"}) {
        EXPECT_TRUE(Contains(element)) << element;
    }
    EXPECT_FALSE(Contains("NULL renderer"));  // the camera has no video port
    EXPECT_FALSE(Contains("Grabber Counter"));

    EXPECT_EQ(std::tuple(preview_.Visible(), preview_.Rect()), std::tuple(true, QRect(0, 0, 320, 240)));
    EXPECT_TRUE(graph_.SetVideoPosition(10, 20, 160, 120));
    EXPECT_EQ(preview_.Rect(), QRect(10, 20, 160, 120));

    EXPECT_TRUE(graph_.CapturePinOptions());
    EXPECT_EQ(graph_.ShowPropertyPage(nullptr, SourceGraph::PropertyPage::kCapturePin, true), 1);
    // A test camera has no V4L2 controls: no filter page, and no message for a query.
    EXPECT_EQ(graph_.ShowPropertyPage(nullptr, SourceGraph::PropertyPage::kCaptureFilter, true), 0);
    EXPECT_FALSE(graph_.HasSeeking() || graph_.Duration());

    // The store already knows the format the camera will deliver.
    EXPECT_EQ(store_.Format(store_.WaitLock()).biWidth, 640);

    EXPECT_TRUE(messages_.Messages().empty());
    // Shown rather than asked about, the missing filter page is reported.
    EXPECT_EQ(graph_.ShowPropertyPage(nullptr, SourceGraph::PropertyPage::kCaptureFilter, false), 0);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(std::tuple(messages_.Messages()[0].text.rfind("Couldn't open video property dialog!", 0),
                         messages_.Messages()[0].flags),
              std::tuple(0u, 0x30u));

    test::ElementWatch watch;
    watch.Watch(graph_.Pipeline());
    ASSERT_TRUE(graph_.Run());
    ASSERT_TRUE(WaitForFrames(3));
    {  // SMPTE bars start with a light grey bar at the top left: the stored frame's last row.
        const FrameStore::Lock lock = store_.WaitLock();
        ASSERT_EQ(store_.Size(lock), 640u * 480 * 3);
        EXPECT_TRUE(IsGrey(store_.Pixels(lock) + 1920 * 479));
        EXPECT_FALSE(IsGrey(store_.Pixels(lock)));
    }

    // Teardown stops every callback and leaves no element behind.
    graph_.Teardown(true, true);
    EXPECT_TRUE(watch.WaitReleased());
    QCoreApplication::processEvents();
    const auto delivered = std::pair(preview_.Frames(), window_.frameEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::pair(preview_.Frames(), window_.frameEvents), delivered);
    EXPECT_FALSE(graph_.Run());
    EXPECT_FALSE(graph_.Stop());
    EXPECT_FALSE(preview_.Visible());
    EXPECT_EQ(std::tuple(graph_.Pipeline(), graph_.Parameters().kind), std::tuple(nullptr, SourceKind::kNone));

    // Only a capture graph has pages: a picture has none, and says nothing about it.
    messages_.Clear();
    ASSERT_TRUE(graph_.SelectImageFile(test::TestDataPath("messi5.jpg"), 160, 120, 30));
    EXPECT_FALSE(graph_.CapturePinOptions());
    for (const auto page : {SourceGraph::PropertyPage::kCapturePin, SourceGraph::PropertyPage::kCaptureFilter}) {
        for (const bool query : {true, false}) EXPECT_EQ(graph_.ShowPropertyPage(nullptr, page, query), 0);
    }
    EXPECT_TRUE(messages_.Messages().empty());

    // A camera with a video port gets an unconnected NULL renderer for it.
    ASSERT_TRUE(graph_.SelectCaptureDevice(CameraWithVideoPort()));
    const test::ElementPtr renderer(gst_bin_get_by_name(GST_BIN(graph_.Pipeline()), "NULL renderer"));
    ASSERT_NE(renderer, nullptr);
    GstPad* pad = gst_element_get_static_pad(renderer.get(), "sink");
    EXPECT_FALSE(gst_pad_is_linked(pad));
    gst_object_unref(pad);

    // A source that only offers audio cannot reach the grabber.
    EXPECT_FALSE(graph_.SelectCaptureDevice(gst_element_factory_make("audiotestsrc", nullptr)));
    ASSERT_EQ(messages_.Messages().size(), 1u);
    // The kind is kept for the caller to reset.
    EXPECT_EQ(std::tuple(messages_.Messages()[0].text.rfind("Couldn't build GStreamer filters sequence!", 0),
                         graph_.Pipeline(), graph_.RenderedKind()),
              std::tuple(0u, nullptr, SourceKind::kCaptureDevice));
}

// Then the pin page rebuilds the graph in the format chosen there.
TEST_F(SourceGraphCamera, TheRememberedFormatIsAppliedToTheFirstCaptureGraphOnlyAndThePinPageChangesIt) {
    CaptureFormat& format = graph_.Format();  // as the preferences load it
    ASSERT_EQ(
        CaptureFormatFromCaps(test::Caps("video/x-raw,format=I420,width=320,height=240,framerate=15/1").get(), format),
        S_OK);
    format.applied = false;

    ASSERT_TRUE(graph_.SelectCaptureDevice(Camera()));
    EXPECT_TRUE(format.applied);
    ASSERT_TRUE(graph_.Run());
    ASSERT_TRUE(test::WaitUntil([&] { return preview_.Frames() >= 2; }));
    EXPECT_EQ(preview_.LastSize(), QSize(320, 240));
    ASSERT_EQ(graph_.ReadCaptureFormat(), S_OK);
    EXPECT_EQ(std::tuple(format.header.biWidth, format.frameTime, format.header.biCompression),
              std::tuple(320, 666666, MakeFourcc('I', '4', '2', '0')));

    ASSERT_TRUE(graph_.SelectImageFile(test::TestDataPath("messi5.jpg"), 160, 120, 30));
    ASSERT_TRUE(graph_.SelectCaptureDevice(Camera()));
    ASSERT_TRUE(graph_.Run());
    ASSERT_TRUE(WaitForFrames(2));
    EXPECT_EQ(store_.Format(store_.WaitLock()).biWidth, 640);

    // Without a host there is no page to show, and the graph runs on untouched.
    EXPECT_EQ(graph_.ShowPropertyPage(nullptr, SourceGraph::PropertyPage::kCapturePin, false), 0);
    const int before = preview_.Frames();
    ASSERT_TRUE(test::WaitUntil([&] { return preview_.Frames() > before; }));
    DialogHost pages;
    QString offered;
    QTimer::singleShot(0, [&] {
        auto* page = qobject_cast<PinFormatDialog*>(QApplication::activeModalWidget());
        if (page == nullptr) return;
        auto* list = page->findChild<QListWidget*>("formats");
        offered = list->currentItem() ? list->currentItem()->text() : QString();
        const auto wanted = list->findItems("I420 1280 x 720, 15 fps", Qt::MatchExactly);
        if (!wanted.isEmpty()) list->setCurrentItem(wanted.front());
        page->accept();
    });
    EXPECT_EQ(graph_.ShowPropertyPage(&pages, SourceGraph::PropertyPage::kCapturePin, false), 1);
    EXPECT_EQ(offered, "YUY2 640 x 480, 30 fps");  // the format it was running in

    const int shown = preview_.Frames();
    ASSERT_TRUE(test::WaitUntil([&] { return preview_.Frames() >= shown + 2; }));
    EXPECT_EQ(std::tuple(preview_.LastSize(), store_.Format(store_.WaitLock()).biWidth),
              std::tuple(QSize(1280, 720), 1280));
    ASSERT_EQ(graph_.ReadCaptureFormat(), S_OK);
    EXPECT_EQ(std::tuple(graph_.Format().frameTime, messages_.Messages().size()), std::tuple(666666, 0u));
}

class FakeControls : public DeviceControls {
public:
    const std::vector<DeviceControl>& Controls() const override { return controls_; }
    bool Set(std::uint32_t id, std::int32_t value) override { return set[id] = value, true; }
    std::map<std::uint32_t, std::int32_t> set;

private:
    using T = DeviceControl::Type;
    std::vector<DeviceControl> controls_{
        {9963776, "Brightness", T::kInteger, -64, 64, 1, 0, 10, {}},
        {9963788, "White Balance, Automatic", T::kBoolean, 0, 1, 1, 0, 1, {}},
        {9963800, "Power Line Frequency", T::kMenu, 0, 2, 1, 0, 1, {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}}}};
};

// The filter page of a camera with V4L2 controls.
TEST(SourceGraphControlsPage, ShowsEachControlAtItsValueAndSendsChangesAtOnce) {
    FakeControls controls;
    DeviceControlsDialog page(controls);
    auto* brightness = page.findChild<QSlider*>("control-9963776");
    auto* automatic = page.findChild<QCheckBox*>("control-9963788");
    auto* frequency = page.findChild<QComboBox*>("control-9963800");
    ASSERT_TRUE(brightness && automatic && frequency);
    EXPECT_EQ(std::tuple(brightness->value(), brightness->minimum(), automatic->isChecked(), frequency->currentText(),
                         controls.set.size()),
              std::tuple(10, -64, true, "50 Hz", 0u));

    brightness->setValue(-20);
    automatic->setChecked(false);
    frequency->activated(2);
    EXPECT_EQ(controls.set, (std::map<std::uint32_t, std::int32_t>{{9963776, -20}, {9963788, 0}, {9963800, 2}}));
}

}  // namespace
}  // namespace lumora
