#include "options/filters_page.h"

#include <algorithm>
#include <utility>

namespace lumora {

FiltersPage::FiltersPage(EffectChain& chain, QWidget* parent)
        : OptionsPage("ParvelOptionsFilters", parent),
          playback_(this),
          colorFilter_(chain, this),
          zoom_(chain, this),
          effects_(chain, SelectEffectPanel::Mode::kFilters, this) {
    for (OptionsPanel* panel : std::initializer_list<OptionsPanel*>{&playback_, &colorFilter_, &zoom_, &effects_}) {
        AddPanel(*panel);
    }
    resize(MinimumSize());
}

QSize FiltersPage::MinimumSize() {
    const QSize list = SelectEffectPanel::MinimumSize();
    const int width = std::max({PlaybackPanel::kMinimumSize.width(), ColorFilterPanel::kMinimumSize.width(),
                                ZoomPanel::kMinimumSize.width(), list.width()});
    const int height = PlaybackPanel::kMinimumSize.height() + ColorFilterPanel::kMinimumSize.height() +
                       ZoomPanel::kMinimumSize.height() + list.height() + 3 * kGap;
    return {width, height};
}

void FiltersPage::EnableEffects(bool enabled) {
    colorFilter_.Enable(enabled);
    zoom_.Enable(enabled);
    effects_.Enable(enabled);
}

void FiltersPage::resizeEvent(QResizeEvent* event) {
    const int w = width();
    int y = 0;
    const std::pair<OptionsPanel*, int> stacked[] = {{&playback_, PlaybackPanel::kMinimumSize.height()},
                                                     {&colorFilter_, ColorFilterPanel::kMinimumSize.height()},
                                                     {&zoom_, ZoomPanel::kMinimumSize.height()}};
    for (const auto& [panel, height] : stacked) {
        panel->setGeometry(0, y, w, height);
        y += height + kGap;
    }
    effects_.setGeometry(0, y, w, std::max(0, height() - y));
    OptionsPage::resizeEvent(event);
}

}  // namespace lumora
