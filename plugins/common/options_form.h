// OptionsForm: the modal options dialog of a bundled effect: labelled controls in a
// column and OK / Cancel, parented to the host's options window.
//
// Build it, add the controls with the current values, Run it, and read the controls when
// Run answers true. The form owns its controls; they live until the form is destroyed.
// User-interface thread only (it is a Qt dialog), with a QApplication running.
#pragma once

#include <QDialog>
#include <QStringList>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QSpinBox;

namespace lumora::plugins {

class OptionsForm {
public:
    // `ownerWindow` is Effect::ownerWindow: the host's options window (a QWidget*) or null.
    OptionsForm(void* ownerWindow, const char* title);
    ~OptionsForm();
    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;

    QSpinBox* AddNumber(const char* label, std::int32_t minimum, std::int32_t maximum, std::int32_t value);
    QComboBox* AddChoice(const char* label, const QStringList& choices, std::int32_t current);
    QCheckBox* AddSwitch(const char* label, bool on);

    // Shows the dialog modally; true when the user pressed OK.
    bool Run();

private:
    QDialog dialog_;
    QFormLayout* form_;
};

}  // namespace lumora::plugins
