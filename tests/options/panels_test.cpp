// The Filters page's panels, driven through their widgets.
#include "effects/face_tracking_effect.h"
#include "effects/zoom_effect.h"
#include "options/effect_finders.h"
#include "options_window_fixture.h"

namespace lumora::test {
namespace {

using PanelsTest = OptionsWindowTest;

// The manual zoom steps by 16 up to 4x and face tracking takes its buttons over; each
// source kind enables its controls. (The colour filter's sliders are the application
// test's, on the packets the virtual camera gets.)
TEST_F(PanelsTest, TheZoomAndPlaybackPanelsFollowTheirButtonsAndTheSource) {
    Build();
    const auto active = [this](EffectId id) { return chain_->IsEffectActive(id); };
    ZoomEffect& zoom = *FindZoomEffect(*chain_);
    const auto zoomed = [&](int button, int times = 1) {
        Press(button, times);
        return std::tuple(ZoomText(), zoom.factor(), active(chain_->zoomEffectId()));
    };
    EXPECT_EQ(zoomed(ZoomPanel::kZoomInId, 48), std::tuple("Zoom: x4.00", 1024, true));
    EXPECT_EQ(zoomed(ZoomPanel::kZoomInId), std::tuple("Zoom: x4.00", 1024, true));
    EXPECT_EQ(zoomed(ZoomPanel::kDefaultId), std::tuple("Zoom: x1.00", 256, false));
    EXPECT_EQ(zoomed(ZoomPanel::kZoomInId), std::tuple("Zoom: x1.06", 272, true));
    EXPECT_EQ(zoomed(ZoomPanel::kZoomOutId), std::tuple("Zoom: x1.00", 256, false));

    // Face tracking takes the buttons over and ends the manual zoom.
    Press(ZoomPanel::kZoomInId, 16);  // 2.0x
    ASSERT_TRUE(active(chain_->zoomEffectId()));
    ParvelCheckBox& locator = Find<ParvelCheckBox>("2013");
    EXPECT_FALSE(locator.isEnabled());

    Click(Find<ParvelCheckBox>("2012").Box());
    ASSERT_TRUE(active(chain_->faceTrackingEffectId()));
    EXPECT_EQ(std::tuple(locator.isEnabled(), ZoomText()), std::tuple(true, "Zoom: biggest"));
    EXPECT_EQ(std::get<0>(zoomed(ZoomPanel::kZoomOutId, 3)), "Zoom: little");
    Press(ZoomPanel::kZoomOutId);
    EXPECT_EQ(FindFaceTrackingEffect(*chain_)->zoomAmount(), 6);
    EXPECT_EQ(std::get<0>(zoomed(ZoomPanel::kZoomInId)), "Zoom: medium");
    EXPECT_EQ(std::get<0>(zoomed(ZoomPanel::kDefaultId)), "Zoom: biggest");

    Click(Find<ParvelCheckBox>("2012").Box());
    EXPECT_EQ(std::tuple(active(chain_->faceTrackingEffectId()), active(chain_->zoomEffectId()), ZoomText(),
                         Find<ParvelCheckBox>("2012").IsChecked(), locator.isEnabled(), messages_.Messages().size()),
              std::tuple(false, false, "Zoom: x1.00", false, false, 0u));

    // Each source kind enables its controls, and playback follows the file.
    ParvelSlider& position = Find<ParvelSlider>("position");
    ParvelSlider& red = Find<ParvelSlider>("red");
    const ParvelListView& filters = options_->Filters().Effects().List();
    const ParvelListView& animations = options_->Effects().Animations().List();
    red.SetPosition(40);
    const struct {
        SourceStatus status;
        bool playable, seekable, video;
    } cases[] = {
        {{SourceKind::kNone, false}, false, false, false},
        {{SourceKind::kVideoFile, false}, true, true, true},
        {{SourceKind::kCaptureDevice, false}, true, false, true},
        {{SourceKind::kCaptureDevice, true}, false, false, true},
        {{SourceKind::kImageFile, false}, false, false, true},
    };
    for (const auto& c : cases) {
        position.SetPosition(50);
        options_->UpdateEnabling(c.status);
        EXPECT_EQ(
            std::tuple(Button(PlaybackPanel::kStartId).isEnabled(), Button(PlaybackPanel::kStopId).isEnabled(),
                       position.isEnabled(), position.GetPosition(), red.isEnabled(),
                       Button(ZoomPanel::kZoomInId).isEnabled(), filters.isEnabled(), animations.isEnabled()),
            std::tuple(c.playable, c.playable, c.seekable, c.seekable ? 50 : 0, c.video, c.video, c.video, c.video))
            << static_cast<int>(c.status.kind) * 10 + c.status.recording;
    }
    EXPECT_EQ(red.GetPosition(), 128);  // disabling put it back

    // Playback sends its commands and follows the file.
    std::vector<int> commands;
    QObject::connect(options_.get(), &OptionsWindow::command, [&commands](int id) { commands.push_back(id); });
    options_->UpdateEnabling({SourceKind::kVideoFile, false});
    Click(Button(PlaybackPanel::kStartId));
    Click(Button(PlaybackPanel::kStopId));
    position.setFocus();
    QTest::keyClick(&position, Qt::Key_End);
    EXPECT_EQ((std::vector<int>{2001, 2002, 2003}), commands);
    EXPECT_EQ(options_->Playback().GetPosition(), 100);

    // The last is a stream of unknown length.
    for (const auto& [at, length, shown] :
         {std::tuple(30, 120, 25), std::tuple(500, 120, 100), std::tuple(10, 0, 100)}) {
        options_->Playback().ShowFilePosition(at, length);
        EXPECT_EQ(position.GetPosition(), shown) << at << "/" << length;
    }
}

}  // namespace
}  // namespace lumora::test
