// TemplateDialog: the base of Lumora's dialogs that are laid out as templates, in dialog
// units (see DialogUnits). A subclass names its title, size and font, then places its
// controls by id at their template rectangles; each control's objectName is its id in
// decimal ("1042"), so code and tests find it with Control<>().
//
// Commands work as in a dialog procedure. A click on any placed button (push button,
// check box, radio button) calls OnCommand with its id; so does Cancel (kIdCancel) when
// it comes from Esc or the window's close button. Enter presses the default push button.
// The default OnCommand ends the dialog on kIdOk and kIdCancel with that id as the
// result, so exec() answers 1 for OK and 2 for Cancel; a subclass that overrides it ends
// the dialog itself with EndDialog, and while it does not, the dialog stays open.
//
// Thread: user-interface thread, like every widget. Ownership: placed controls are the
// dialog's children and die with it; the dialog is fixed-size at its template size.
#pragma once

#include "platform/dialog_units.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;

namespace lumora {

// A dialog template's header: title, size in dialog units, font face and point size.
struct DialogTemplate {
    QString title;
    int width = 0;
    int height = 0;
    QString fontFace = "MS Shell Dlg";
    int pointSize = 8;
};

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    // The ids every dialog shares, and the one of controls that have none.
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;
    static constexpr int kNoId = -1;

    // The control placed with `id`, when it is a Widget; null otherwise.
    template <class Widget = QWidget>
    Widget* Control(int id) const {
        return findChild<Widget*>(QString::number(id), Qt::FindDirectChildrenOnly);
    }

    // The units this dialog's controls were placed in.
    const DialogUnits& units() const { return units_; }

    // Esc and the close button: OnCommand(kIdCancel).
    void reject() override;

protected:
    TemplateDialog(const DialogTemplate& layout, QWidget* parent);

    // Makes `widget` (already a child of this dialog) the control `id` at `rect`; clicks
    // of a button reach OnCommand. kNoId leaves the objectName empty. Returns `widget`.
    template <class Widget>
    Widget* Place(Widget* widget, int id, const DialogRect& rect) {
        PlaceWidget(widget, id, rect);
        return widget;
    }
    // The usual controls, with their template texts.
    QCheckBox* AddCheckBox(int id, const DialogRect& rect, const QString& text);
    QPushButton* AddPushButton(int id, const DialogRect& rect, const QString& text);
    QPushButton* AddDefaultPushButton(int id, const DialogRect& rect, const QString& text);
    QLabel* AddLabel(int id, const DialogRect& rect, const QString& text);

    virtual void OnCommand(int id);
    // Closes the dialog; exec() answers `result`.
    void EndDialog(int result) { done(result); }

    // The first show gives labels that the desktop's font has outgrown the free room
    // beside and below them (see LabelFitter).
    void showEvent(QShowEvent* event) override;

private:
    void PlaceWidget(QWidget* widget, int id, const DialogRect& rect);
    void FitLabels();

    DialogUnits units_;
    bool labelsFitted_ = false;
};

}  // namespace lumora
