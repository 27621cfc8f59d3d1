// ParvelButton: the skinned push button, four pictures (normal, over, pressed, disabled)
// and nothing else. A click (press and release inside, or Space or Enter while it has
// the keyboard focus) sends notified(child id, parvel::kClicked). The pointer leaving the
// button is noticed by a 200 ms hover check, as the state rules of ButtonModel say, and
// at once when the window system reports it (where the pointer's position cannot be
// read once it is outside the program's windows, the check alone would never see it go).
//
// The owner sets the pictures (borrowed from a Skin, which must outlive their use) and
// the text screen readers announce. Owned by its parent widget; user-interface thread.
#pragma once

#include "skins/accessible_control.h"
#include "skins/button_model.h"
#include "skins/skin_groups.h"

#include <QTimer>
#include <QWidget>

namespace lumora {

class ParvelButton : public QWidget, public AccessibleControl {
    Q_OBJECT

public:
    static constexpr int kHoverCheckMs = 200;

    ParvelButton(int childId, QWidget* parent);

    int ChildId() const { return childId_; }
    // Copies the four pictures; does not repaint.
    void SetBitmaps(const ButtonBitmaps& bitmaps) { bitmaps_ = bitmaps; }
    const ButtonBitmaps& Bitmaps() const { return bitmaps_; }
    void Enable(bool enabled) { setEnabled(enabled); }
    // What screen readers call the button; never drawn.
    void SetText(const QString& text) { setAccessibleName(text); }
    const ButtonModel& Model() const { return model_; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::Button; }
    bool AccessiblePressable() const override { return true; }
    void AccessiblePress() override { Click(); }

signals:
    void notified(int childId, int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void HoverTick();
    bool CursorInside() const;
    // Repaints when `repaint`, and keeps the hover timer in step with the model.
    void Follow(bool repaint);
    void Click();

    const int childId_;
    ButtonModel model_;
    ButtonBitmaps bitmaps_;
    QTimer hoverTimer_;
};

}  // namespace lumora
