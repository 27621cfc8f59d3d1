#include "options/color_filter_panel.h"

#include "effects/color_filter_effect.h"
#include "options/click_connection.h"
#include "options/effect_finders.h"
#include "options/slider_value_tip.h"
#include "skins/skin_drawing.h"

#include <QPainter>

#include <algorithm>

namespace lumora {
namespace {

constexpr std::int32_t kNeutral = ColorFilterEffect::kNeutralLevel;
constexpr const char* kChannelNames[] = {"Red", "Green", "Blue"};

}  // namespace

ColorFilterPanel::ColorFilterPanel(EffectChain& chain, QWidget* parent)
        : OptionsPanel(Frame::kLight, "ParvelColorFilter", parent), chain_(chain), default_(kDefaultId, this) {
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        auto* slider = new ParvelSlider(this);
        slider->setObjectName(QString(kChannelNames[i]).toLower());
        slider->setAccessibleName(kChannelNames[i]);
        slider->SetRange(ColorFilterEffect::kMinLevel, ColorFilterEffect::kMaxLevel);
        slider->SetPosition(kNeutral);
        SliderValueTip::Attach(*slider, [](int level) { return QString::number(level); });
        connect(slider, &ParvelSlider::scrolled, this, [this, slider] { Scrolled(slider); });
        sliders_[i] = slider;
    }
    // The button comes after the sliders in the keyboard's order, as on the panel.
    default_.SetText("Default");
    OnClick(default_, this, [this] { SetLevels(kNeutral, kNeutral, kNeutral); });
    setTabOrder(sliders_[2], &default_);
    resize(kMinimumSize);
}

void ColorFilterPanel::Enable(bool enabled) {
    for (ParvelSlider* slider : sliders_) {
        slider->Enable(enabled);
        if (!enabled) slider->SetPosition(kNeutral);
    }
    default_.Enable(enabled);
}

void ColorFilterPanel::SetLevels(std::int32_t red, std::int32_t green, std::int32_t blue) {
    std::array<std::int32_t, 3> levels{red, green, blue};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] < 0) levels[i] = sliders_[i]->GetPosition();
        levels[i] = ColorFilterEffect::NormalizeLevel(levels[i]);
        sliders_[i]->SetPosition(levels[i]);
    }
    const EffectId id = chain_.colorFilterEffectId();
    if (std::all_of(levels.begin(), levels.end(), [](std::int32_t level) { return level == kNeutral; })) {
        chain_.DeactivateEffect(id);
        return;
    }
    if (ColorFilterEffect* filter = FindColorFilterEffect(chain_)) filter->SetLevels(levels[0], levels[1], levels[2]);
    chain_.ActivateEffect(id);
}

void ColorFilterPanel::Scrolled(const QObject* source) {
    if (std::find(sliders_.begin(), sliders_.end(), source) == sliders_.end()) return;
    SetLevels(kFromSlider, kFromSlider, kFromSlider);
}

void ColorFilterPanel::SkinControls(const Skin& skin) {
    for (ParvelSlider* slider : sliders_) slider->ApplySkin(skin);
    default_.SetBitmaps(skin.colourFilter.defaultButton);
    default_.update();
    channelPictures_ = {skin.colourFilter.red, skin.colourFilter.green, skin.colourFilter.blue};
}

void ColorFilterPanel::PaintContents(QPainter& painter) {
    for (std::size_t i = 0; i < channelPictures_.size(); ++i) {
        DrawBitmapAt(painter, 15, 10 + 25 * static_cast<int>(i), channelPictures_[i]);
    }
}

void ColorFilterPanel::resizeEvent(QResizeEvent* event) {
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        sliders_[i]->setGeometry(50, 14 + 25 * static_cast<int>(i), width() - 60, SliderModel::kHeight);
    }
    default_.setGeometry(width() - 64, 81, 54, 17);
    OptionsPanel::resizeEvent(event);
}

}  // namespace lumora
