// PinFormatDialog: the capture pin's property page — a list of the device's formats
// (PinFormatList) with the current one selected; OK makes the selected entry the format to
// capture in. The list's objectName is "formats".
//
// Thread: user-interface thread. The format list is borrowed for the dialog's lifetime.
#pragma once

#include "video/pin_format_list.h"

#include <QDialog>

class QListWidget;

namespace lumora {

class PinFormatDialog : public QDialog {
    Q_OBJECT
public:
    PinFormatDialog(const PinFormatList& formats, int current, QWidget* parent = nullptr);

    // The entry selected, or -1.
    int Chosen() const;
    void Choose(int index);

private:
    QListWidget* list_;
};

}  // namespace lumora
