// DeviceControlsDialog: the capture filter's property page — one row per device control
// (a slider for a number, a check box for a switch, a list for a choice, a button for an
// action), each change sent to the device at once, as a property page does. Each editor's
// objectName is "control-<id>" (decimal).
//
// Thread: user-interface thread. The controls are borrowed for the dialog's lifetime.
#pragma once

#include "video/device_controls.h"

#include <QDialog>

namespace lumora {

class DeviceControlsDialog : public QDialog {
    Q_OBJECT
public:
    DeviceControlsDialog(DeviceControls& controls, QWidget* parent = nullptr);

private:
    QWidget* MakeEditor(const DeviceControl& control);

    DeviceControls& controls_;
};

}  // namespace lumora
