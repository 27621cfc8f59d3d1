// ParvelScrollBar: the skinned vertical scroll bar, two ParvelButton arrows (child ids
// 4003 and 4004) and a draggable thumb. The user changes the position with the arrows,
// by dragging the thumb or with the mouse wheel (one step a notch); every change sends
// scrolled(position). SetRange and SetPosition send nothing.
//
// ApplySkin takes the scroll-bar group, borrowed from the Skin, which must outlive its
// use. Owned by its parent widget (a list view); user-interface thread.
#pragma once

#include "skins/accessible_control.h"
#include "skins/parvel_button.h"
#include "skins/scroll_bar_model.h"
#include "skins/skin.h"

#include <QWidget>

namespace lumora {

class ParvelScrollBar : public QWidget, public AccessibleControl {
    Q_OBJECT

public:
    ParvelScrollBar(int childId, QWidget* parent);

    int ChildId() const { return childId_; }
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int GetPosition() const { return model_.Position(); }
    // Moves by `delta` as the user would, sending scrolled when the position changes.
    void StepByUser(int delta) { UserMoved(model_.Step(delta)); }
    const ScrollBarModel& Model() const { return model_; }
    void ApplySkin(const Skin& skin);

    QAccessible::Role AccessibleRole() const override { return QAccessible::ScrollBar; }
    std::optional<Range> AccessibleRange() const override;
    void AccessibleSetValue(int value) override;

signals:
    void scrolled(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Repaints and notifies when the user's action moved the thumb.
    void UserMoved(bool changed);

    const int childId_;
    ScrollBarModel model_;
    ScrollBarSkin skin_;
    ParvelButton up_;
    ParvelButton down_;
    int wheelRemainder_ = 0;
};

}  // namespace lumora
