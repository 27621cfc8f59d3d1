// SelectEffectPanel ("ParvelSelectEffect"): a list of effects (4000) by picture and name,
// with the start/stop button (4001) and the options button (4002) under it.
//
// Modes: kFilters lists every effect of a layer other than the animations' except the
// zoom, the colour filter and the face-tracking zoom (they have panels of their own), so
// picture-in-picture and the plug-ins' filters; kAnimations lists the animations. A
// listed effect that runs is shown selected.
//
// A double click on a tile (or Return on it), the start/stop button and the context
// menu's "Start"/"Stop" toggle the current effect; the options button and "Options..."
// open its options dialog and restart it with the new settings when it runs. A start
// that fails says "Couldn't start specified animation effect!"; one the user cancelled
// says nothing. The buttons are disabled without a current effect, and the options
// button also for an effect without options.
//
// Starts disabled. Everything goes through the chain's public operations; nothing runs
// per frame. The chain is borrowed and must outlive the panel; the effects' icons are
// copied. Owned by its page; user-interface thread.
#pragma once

#include "effects/effect_chain.h"
#include "options/options_panel.h"
#include "skins/parvel_button.h"
#include "skins/parvel_list_view.h"

#include <QImage>
#include <QSize>

#include <vector>

namespace lumora {

class SelectEffectPanel : public OptionsPanel {
public:
    enum class Mode { kAnimations = 0, kFilters = 1 };

    static constexpr int kListId = 4000;
    static constexpr int kStartStopId = 4001;
    static constexpr int kOptionsId = 4002;
    static constexpr int kButtonWidth = 72;
    static constexpr int kButtonHeight = 18;
    static constexpr char kStartFailedText[] = "Couldn't start specified animation effect!";

    SelectEffectPanel(EffectChain& chain, Mode mode, QWidget* parent);

    void Enable(bool enabled);
    // Switches the effect on or off and marks its tile: true when it runs now or was
    // switched off, false when it did not start (a failure is reported, a cancel is not).
    bool Toggle(EffectId id);
    // Reads the chain again (at creation and with every skin).
    void Fill();
    static QSize MinimumSize();

    const ParvelListView& List() const { return list_; }

protected:
    void SkinControls(const Skin& skin) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Listed(const Effect& effect) const;
    // The effect of the current tile; 0 without one.
    EffectId Current() const;
    // Shows the tiles of running effects selected.
    void MarkRows();
    void UpdateButtons();
    void ToggleCurrent();
    void ShowOptions();
    void ContextMenu(QPoint globalAt);

    EffectChain& chain_;
    const Mode mode_;
    ParvelListView list_;
    ParvelButton startStop_;
    ParvelButton options_;
    std::vector<QImage> icons_;  // one per tile, in order; the list borrows them
};

}  // namespace lumora
