#include "options/slider_value_tip.h"

#include <QToolTip>

#include <utility>

namespace lumora {

void SliderValueTip::Attach(ParvelSlider& slider, Format format) { new SliderValueTip(slider, std::move(format)); }

SliderValueTip::SliderValueTip(ParvelSlider& slider, Format format)
        : QObject(&slider), slider_(slider), format_(std::move(format)) {
    connect(&slider, &ParvelSlider::scrolled, this, &SliderValueTip::Show);
}

void SliderValueTip::Show(int position) {
    const QRect thumb = slider_.Model().ThumbRect(slider_.size());
    QToolTip::showText(slider_.mapToGlobal(thumb.center()), format_(position), &slider_, slider_.rect());
}

}  // namespace lumora
