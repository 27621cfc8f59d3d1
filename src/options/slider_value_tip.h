// SliderValueTip: shows a slider's value in a tooltip at its thumb each time the user
// moves it (dragging, a click on the ruler, the wheel or the keys), so the number can be
// read while the thumb is dragged. The text is made from the position by the panel's
// format ("200", "35%").
//
// A child of its slider, destroyed with it; user-interface thread.
#pragma once

#include "skins/parvel_slider.h"

#include <QObject>
#include <QString>

#include <functional>

namespace lumora {

class SliderValueTip : public QObject {
public:
    using Format = std::function<QString(int position)>;

    // Gives `slider` a tip; it lives as long as the slider.
    static void Attach(ParvelSlider& slider, Format format);

private:
    SliderValueTip(ParvelSlider& slider, Format format);
    void Show(int position);

    ParvelSlider& slider_;
    const Format format_;
};

}  // namespace lumora
