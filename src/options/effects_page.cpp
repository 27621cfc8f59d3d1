#include "options/effects_page.h"

namespace lumora {

EffectsPage::EffectsPage(EffectChain& chain, QWidget* parent)
        : OptionsPage("ParvelOptionsEffects", parent), animations_(chain, SelectEffectPanel::Mode::kAnimations, this) {
    AddPanel(animations_);
    resize(MinimumSize());
}

void EffectsPage::resizeEvent(QResizeEvent* event) {
    animations_.setGeometry(rect());
    OptionsPage::resizeEvent(event);
}

}  // namespace lumora
