// PlaybackPanel ("ParvelPlayback"): Start and Stop of the source and the position of a
// playing video file. Start and Stop send command(2001) and command(2002) to the main
// window; the user moving the position slider sends command(2003, the slider), and the
// main window reads the new position with GetPosition and seeks. While a file plays the
// main window shows its progress with ShowFilePosition several times a second; that does
// not move the thumb while the user holds it.
//
// States (SetState): kNone disables all three controls, kLive enables Start and Stop,
// kFile all three; the slider returns to 0 unless it is enabled.
//
// Owned by the Filters page; user-interface thread.
#pragma once

#include "options/options_panel.h"
#include "options/source_status.h"
#include "skins/parvel_button.h"
#include "skins/parvel_slider.h"

#include <QSize>

#include <cstdint>

namespace lumora {

class PlaybackPanel : public OptionsPanel {
    Q_OBJECT

public:
    static constexpr int kStartId = 2001;
    static constexpr int kStopId = 2002;
    static constexpr int kSeekCommand = 2003;
    static constexpr int kPositionRange = 100;
    static constexpr QSize kMinimumSize{120, 30};

    explicit PlaybackPanel(QWidget* parent);

    void SetState(PlaybackState state);
    PlaybackState State() const { return state_; }
    // 0 to 100, clamped.
    void SetPosition(int position) { slider_.SetPosition(position); }
    int GetPosition() const { return slider_.GetPosition(); }
    // `position` of `duration` (any unit; nothing for a duration of 0 or less, which a
    // stream of unknown length has).
    void ShowFilePosition(std::int64_t position, std::int64_t duration);

signals:
    void command(int id, QWidget* source);

protected:
    void SkinControls(const Skin& skin) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ParvelButton start_;
    ParvelButton stop_;
    ParvelSlider slider_;
    PlaybackState state_ = PlaybackState::kNone;
};

}  // namespace lumora
