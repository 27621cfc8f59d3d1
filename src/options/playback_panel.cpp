#include "options/playback_panel.h"

#include "options/click_connection.h"
#include "options/slider_value_tip.h"

#include <algorithm>

namespace lumora {

PlaybackPanel::PlaybackPanel(QWidget* parent)
        : OptionsPanel(Frame::kDark, "ParvelPlayback", parent),
          start_(kStartId, this),
          stop_(kStopId, this),
          slider_(this) {
    start_.SetText("Start");
    stop_.SetText("Stop");
    slider_.setObjectName("position");
    slider_.setAccessibleName("Position");
    slider_.SetRange(0, kPositionRange);
    slider_.SetPosition(0);
    SliderValueTip::Attach(slider_, [](int position) { return QString("%1%").arg(position); });
    for (ParvelButton* button : {&start_, &stop_})
        OnClick(*button, this, [this, button] { emit command(button->ChildId(), button); });
    connect(&slider_, &ParvelSlider::scrolled, this, [this] { emit command(kSeekCommand, &slider_); });
    resize(kMinimumSize);
    SetState(PlaybackState::kNone);
}

void PlaybackPanel::SetState(PlaybackState state) {
    state_ = state;
    const bool playable = state != PlaybackState::kNone;
    const bool seekable = state == PlaybackState::kFile;
    start_.Enable(playable);
    stop_.Enable(playable);
    slider_.Enable(seekable);
    if (!seekable) slider_.SetPosition(0);
}

void PlaybackPanel::ShowFilePosition(std::int64_t position, std::int64_t duration) {
    if (duration <= 0 || slider_.Model().Dragging()) return;
    const double done = static_cast<double>(std::clamp<std::int64_t>(position, 0, duration));
    SetPosition(static_cast<int>(done * kPositionRange / static_cast<double>(duration)));
}

void PlaybackPanel::SkinControls(const Skin& skin) {
    start_.SetBitmaps(skin.playback.start);
    stop_.SetBitmaps(skin.playback.stop);
    start_.update();
    stop_.update();
    slider_.ApplySkin(skin);
}

void PlaybackPanel::resizeEvent(QResizeEvent* event) {
    start_.setGeometry(5, 5, 20, 20);
    stop_.setGeometry(30, 5, 20, 20);
    slider_.setGeometry(55, 9, width() - 10 - 55, SliderModel::kHeight);
    OptionsPanel::resizeEvent(event);
}

}  // namespace lumora
