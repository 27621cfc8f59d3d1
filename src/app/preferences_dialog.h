// PreferencesDialog: "Preferences", the modal dialog of the three user preferences:
// remember the last source, remember the effects' settings, start Lumora at login. It is
// laid out as template 255 (214 x 68 dialog units) with the controls at their template
// positions and ids.
//
// The boxes show the settings as they are when the dialog is made. OK writes, in this
// order: "RememberLastSource"; "LastSourceType" = 0 and "LastSourceID" = "" (the last
// source is forgotten, and stored again at exit); "RememberFilterSettings"; then the
// autostart entry: written for the running program when its box is checked, removed when
// not (and when the program's path cannot be read). Cancel, Esc and the close button
// write nothing.
//
// Thread: user-interface thread. The dialog reads and writes the settings store itself.
#pragma once

#include "platform/autostart_entry.h"
#include "platform/template_dialog.h"

class QCheckBox;

namespace lumora {

class PreferencesDialog : public TemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 255;
    enum : int {
        kIdStartAtLogin = 1041,
        kIdRememberLastSource = 1042,
        kIdRememberFilterSettings = 1043,
    };

    // `autostart` names the entry the third box stands for.
    explicit PreferencesDialog(AutostartEntry autostart, QWidget* parent = nullptr);

    // The Preferences command: the dialog for this program's own autostart entry, modal
    // to `owner`.
    static void ShowModal(QWidget* owner);

protected:
    void OnCommand(int id) override;

private:
    void Save() const;

    AutostartEntry autostart_;
    QCheckBox* rememberLastSource_;
    QCheckBox* rememberFilterSettings_;
    QCheckBox* startAtLogin_;
};

}  // namespace lumora
