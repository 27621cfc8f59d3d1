// EffectsPage ("ParvelOptionsEffects"): the options window's second page, the list of
// animations filling it.
//
// The chain is borrowed and must outlive the page. Owned by the options window;
// user-interface thread.
#pragma once

#include "effects/effect_chain.h"
#include "options/options_page.h"
#include "options/select_effect_panel.h"

namespace lumora {

class EffectsPage : public OptionsPage {
public:
    EffectsPage(EffectChain& chain, QWidget* parent);

    static QSize MinimumSize() { return SelectEffectPanel::MinimumSize(); }
    SelectEffectPanel& Animations() { return animations_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    SelectEffectPanel animations_;
};

}  // namespace lumora
