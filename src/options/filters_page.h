// FiltersPage ("ParvelOptionsFilters"): the options window's first page, the playback,
// colour filter and zoom panels stacked at their own heights 5 pixels apart and, filling
// the rest, the list of filter effects.
//
// The chain is borrowed and must outlive the page. Owned by the options window;
// user-interface thread.
#pragma once

#include "effects/effect_chain.h"
#include "options/color_filter_panel.h"
#include "options/options_page.h"
#include "options/playback_panel.h"
#include "options/select_effect_panel.h"
#include "options/zoom_panel.h"

namespace lumora {

class FiltersPage : public OptionsPage {
public:
    static constexpr int kGap = 5;

    FiltersPage(EffectChain& chain, QWidget* parent);

    static QSize MinimumSize();
    // Everything but playback follows `enabled` (video flows).
    void EnableEffects(bool enabled);

    PlaybackPanel& Playback() { return playback_; }
    ColorFilterPanel& ColorFilter() { return colorFilter_; }
    ZoomPanel& Zoom() { return zoom_; }
    SelectEffectPanel& Effects() { return effects_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PlaybackPanel playback_;
    ColorFilterPanel colorFilter_;
    ZoomPanel zoom_;
    SelectEffectPanel effects_;
};

}  // namespace lumora
