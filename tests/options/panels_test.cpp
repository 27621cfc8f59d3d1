// The Filters page's panels, driven through their widgets.
#include "effects/color_filter_effect.h"
#include "effects/face_tracking_effect.h"
#include "effects/zoom_effect.h"
#include "options/effect_finders.h"
#include "options_window_fixture.h"

namespace lumora::test {
namespace {

class PanelsTest : public OptionsWindowTest {
protected:
    void SetUp() override { Build(); }

    bool Active(EffectId id) const { return chain_->IsEffectActive(id); }
    void ClickFaceBox() const { Click(Find<ParvelCheckBox>("2012").Box()); }
};

TEST_F(PanelsTest, ManualZoomStepsBy16UpTo4xAndFaceTrackingTakesTheButtons) {
    ZoomEffect& zoom = *FindZoomEffect(*chain_);
    EXPECT_EQ(ZoomText(), "Zoom: x1.00");
    Press(ZoomPanel::kZoomInId, 48);
    EXPECT_EQ(ZoomText(), "Zoom: x4.00");
    EXPECT_EQ(zoom.factor(), 1024);
    EXPECT_TRUE(Active(chain_->zoomEffectId()));
    Press(ZoomPanel::kZoomInId);
    EXPECT_EQ(zoom.factor(), 1024);
    EXPECT_EQ(ZoomText(), "Zoom: x4.00");

    Press(ZoomPanel::kDefaultId);
    EXPECT_FALSE(Active(chain_->zoomEffectId()));
    Press(ZoomPanel::kZoomInId);
    EXPECT_EQ(ZoomText(), "Zoom: x1.06");  // 272
    Press(ZoomPanel::kZoomOutId);
    EXPECT_EQ(ZoomText(), "Zoom: x1.00");
    EXPECT_FALSE(Active(chain_->zoomEffectId()));
    EXPECT_EQ(zoom.factor(), 256);

    // Face tracking takes the buttons over and ends the manual zoom.
    Press(ZoomPanel::kZoomInId, 16);  // 2.0x
    ASSERT_TRUE(Active(chain_->zoomEffectId()));
    ParvelCheckBox& locator = Find<ParvelCheckBox>("2013");
    EXPECT_FALSE(locator.isEnabled());

    ClickFaceBox();
    ASSERT_TRUE(Active(chain_->faceTrackingEffectId()));
    EXPECT_TRUE(locator.isEnabled());
    EXPECT_EQ(ZoomText(), "Zoom: biggest");
    FaceTrackingEffect& face = *FindFaceTrackingEffect(*chain_);
    Press(ZoomPanel::kZoomOutId, 3);
    EXPECT_EQ(ZoomText(), "Zoom: little");
    Press(ZoomPanel::kZoomOutId);
    EXPECT_EQ(face.zoomAmount(), 6);
    Press(ZoomPanel::kZoomInId);
    EXPECT_EQ(ZoomText(), "Zoom: medium");
    Press(ZoomPanel::kDefaultId);
    EXPECT_EQ(ZoomText(), "Zoom: biggest");

    ClickFaceBox();
    EXPECT_FALSE(Active(chain_->faceTrackingEffectId()));
    EXPECT_FALSE(Active(chain_->zoomEffectId()));
    EXPECT_EQ(ZoomText(), "Zoom: x1.00");
    EXPECT_FALSE(Find<ParvelCheckBox>("2012").IsChecked());
    EXPECT_FALSE(locator.isEnabled());
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(PanelsTest, ColourFilterFollowsItsSlidersAndTheDefaultButton) {
    ColorFilterEffect& filter = *FindColorFilterEffect(*chain_);
    ParvelSlider& green = Find<ParvelSlider>("green");
    green.setFocus();
    for (int i = 0; i < 72; ++i) QTest::keyClick(&green, Qt::Key_Right);
    EXPECT_EQ(green.GetPosition(), 200);
    EXPECT_TRUE(Active(chain_->colorFilterEffectId()));
    EXPECT_EQ(filter.red(), 128);
    EXPECT_EQ(filter.green(), 200);
    EXPECT_EQ(filter.blue(), 128);

    Click(Button(ColorFilterPanel::kDefaultId));
    EXPECT_FALSE(Active(chain_->colorFilterEffectId()));
    EXPECT_EQ(green.GetPosition(), 128);
}

TEST_F(PanelsTest, EachSourceKindEnablesItsControlsAndPlaybackFollowsTheFile) {
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
        SCOPED_TRACE(static_cast<int>(c.status.kind) * 10 + c.status.recording);
        EXPECT_EQ(Button(PlaybackPanel::kStartId).isEnabled(), c.playable);
        EXPECT_EQ(Button(PlaybackPanel::kStopId).isEnabled(), c.playable);
        EXPECT_EQ(position.isEnabled(), c.seekable);
        EXPECT_EQ(position.GetPosition(), c.seekable ? 50 : 0);
        EXPECT_EQ(red.isEnabled(), c.video);
        EXPECT_EQ(Button(ZoomPanel::kZoomInId).isEnabled(), c.video);
        EXPECT_EQ(filters.isEnabled(), c.video);
        EXPECT_EQ(animations.isEnabled(), c.video);
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

    options_->Playback().ShowFilePosition(30, 120);
    EXPECT_EQ(position.GetPosition(), 25);
    options_->Playback().ShowFilePosition(500, 120);
    EXPECT_EQ(position.GetPosition(), 100);
    options_->Playback().ShowFilePosition(10, 0);  // a stream of unknown length
    EXPECT_EQ(position.GetPosition(), 100);
}

}  // namespace
}  // namespace lumora::test
