// ParvelCheckBox: the skinned check box, a label window with a small ParvelButton (child
// id 5001) as its box. A click on the box, or Space while the check box has the keyboard
// focus, toggles it and then sends notified(child id, parvel::kClicked); SetCheck sends
// nothing. The box shows the skin's checked or unchecked pictures.
//
// ApplySkin (also run by an ApplySkinEvent) takes the zoom panel's font and text colour,
// the dark window's background and the check-box pictures, borrowed from the Skin, which
// must outlive their use. Owned by its parent widget; user-interface thread.
#pragma once

#include "skins/accessible_control.h"
#include "skins/check_box_model.h"
#include "skins/check_box_painter.h"
#include "skins/parvel_button.h"
#include "skins/skin.h"

#include <QWidget>

namespace lumora {

class ParvelCheckBox : public QWidget, public AccessibleControl {
    Q_OBJECT

public:
    ParvelCheckBox(int childId, const QString& label, QWidget* parent);

    int ChildId() const { return childId_; }
    void SetCheck(bool checked);
    bool IsChecked() const { return model_.Checked(); }
    // Enables or disables the box and the label.
    void Enable(bool enabled) { setEnabled(enabled); }
    void ApplySkin(const Skin& skin);
    const QString& Label() const { return label_; }
    ParvelButton& Box() { return box_; }

    QSize sizeHint() const override { return {150, CheckBoxModel::kHeight}; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::CheckBox; }
    QAccessible::State AccessibleState() const override;
    bool AccessiblePressable() const override { return true; }
    void AccessiblePress() override { Toggle(); }

signals:
    void notified(int childId, int code);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Toggle();
    void ShowState();

    const int childId_;
    const QString label_;
    ParvelButton box_;
    CheckBoxModel model_;
    CheckBoxPainter::Look look_;
    ButtonBitmaps checked_;
    ButtonBitmaps unchecked_;
};

}  // namespace lumora
