// ParvelSlider: the skinned horizontal slider, a thin ruler with tick marks and a square
// thumb. The user moves it by dragging the thumb, clicking the ruler, the mouse wheel
// (one step a notch) or, with the keyboard focus, the arrow keys (one step), Page Up and
// Page Down (a tenth of the range) and Home and End; every change sends
// scrolled(position). SetRange and SetPosition send nothing. A disabled slider ignores
// the user and looks the same.
//
// ApplySkin (also run by an ApplySkinEvent) takes the slider group, its thumb picture
// borrowed from the Skin, which must outlive its use. Owned by its parent widget;
// user-interface thread.
#pragma once

#include "skins/accessible_control.h"
#include "skins/skin.h"
#include "skins/slider_model.h"

#include <QWidget>

namespace lumora {

class ParvelSlider : public QWidget, public AccessibleControl {
    Q_OBJECT

public:
    explicit ParvelSlider(QWidget* parent);

    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int GetPosition() const { return model_.Position(); }
    void Enable(bool enabled) { setEnabled(enabled); }
    void ApplySkin(const Skin& skin);
    const SliderModel& Model() const { return model_; }

    QSize sizeHint() const override { return {126, SliderModel::kHeight}; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::Slider; }
    std::optional<Range> AccessibleRange() const override;
    void AccessibleSetValue(int value) override { UserMoved(model_.SetPosition(value)); }

signals:
    void scrolled(int position);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Repaints and notifies when the user's action moved the thumb.
    void UserMoved(bool changed);
    int PageStep() const;

    SliderModel model_;
    SliderSkin skin_;
    int wheelRemainder_ = 0;
};

}  // namespace lumora
