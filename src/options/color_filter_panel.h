// ColorFilterPanel ("ParvelColorFilter"): the levels of the RGB colour filter, a slider
// of 1 to 256 for each of red, green and blue (128 keeps a channel as it is) beside the
// skin's channel pictures, and the "default" button (2008) that puts all three back.
//
// Every change goes through SetLevels: a level outside 1 to 256 becomes 128, the sliders
// show the levels, and then the filter is switched off when all three are 128, or takes
// the levels and is switched on. The panel writes the levels into the effect (atomics the
// streaming thread reads) and switches it with the chain's ActivateEffect and
// DeactivateEffect; it does nothing per frame.
//
// The chain is borrowed and must outlive the panel. Owned by the Filters page; user-
// interface thread.
#pragma once

#include "effects/effect_chain.h"
#include "options/options_panel.h"
#include "skins/parvel_button.h"
#include "skins/parvel_slider.h"

#include <QSize>

#include <array>
#include <cstdint>

namespace lumora {

class ColorFilterPanel : public OptionsPanel {
public:
    static constexpr int kDefaultId = 2008;
    static constexpr QSize kMinimumSize{114, 103};
    static constexpr int kFromSlider = -1;  // SetLevels: take this level from its slider

    ColorFilterPanel(EffectChain& chain, QWidget* parent);

    // Disabling also puts the sliders to 128 (the filter itself is left as it is).
    void Enable(bool enabled);
    // See the file comment; kFromSlider (any negative level) reads that slider.
    void SetLevels(std::int32_t red, std::int32_t green, std::int32_t blue);
    // A slider moved: applies the three sliders' levels when `source` is one of them,
    // and ignores any other.
    void Scrolled(const QObject* source);

protected:
    void SkinControls(const Skin& skin) override;
    void PaintContents(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    EffectChain& chain_;
    std::array<ParvelSlider*, 3> sliders_{};  // red, green, blue; children of the panel
    ParvelButton default_;
    std::array<const QImage*, 3> channelPictures_{};
};

}  // namespace lumora
