// CheckBoxModel: the checked flag and the geometry of a skinned check box: a 12 x 12 box
// at the left edge, centred vertically, and the label to its right, as far from it as
// the box is from the top and bottom. Plain value; one thread.
#pragma once

#include <QPoint>
#include <QRect>

namespace lumora {

class CheckBoxModel {
public:
    static constexpr int kBoxSize = 12;
    static constexpr int kHeight = 18;  // the standard height

    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    // Inverts the flag and answers the new one.
    bool Toggle() { return checked_ = !checked_; }

    // Where the box goes in a check box `height` pixels high.
    static QPoint BoxPosition(int height) { return {0, (height - kBoxSize) / 2}; }
    // The label's rectangle in `client`: 18 pixels in for the standard height.
    static QRect LabelRect(const QRect& client) {
        return client.adjusted(kBoxSize + 2 * ((client.height() - kBoxSize) / 2), 0, 0, 0);
    }

private:
    bool checked_ = false;
};

}  // namespace lumora
