#include "platform/message_box_dialog.h"

#include <QMessageBox>

namespace lumora {
namespace {

QMessageBox::Icon IconFor(unsigned flags) {
    switch (flags & 0xF0) {
        case mb::kIconError: return QMessageBox::Critical;
        case mb::kIconQuestion: return QMessageBox::Question;
        case mb::kIconWarning: return QMessageBox::Warning;
        case mb::kIconInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsFor(unsigned flags) {
    switch (flags & 0x0F) {
        case mb::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case mb::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case mb::kYesNo: return QMessageBox::Yes | QMessageBox::No;
        default: return QMessageBox::Ok;
    }
}

int ButtonId(int qtButton) {
    switch (qtButton) {
        case QMessageBox::Yes: return id::kYes;
        case QMessageBox::No: return id::kNo;
        case QMessageBox::Cancel: return id::kCancel;
        default: return id::kOk;
    }
}

}  // namespace

int ShowMessageBoxDialog(const MessageRequest& request) {
    QMessageBox box(IconFor(request.flags), QString::fromUtf8(request.caption.c_str()),
                    QString::fromUtf8(request.text.c_str()), ButtonsFor(request.flags),
                    qobject_cast<QWidget*>(request.owner));
    return ButtonId(box.exec());
}

void InstallMessageBoxDialogs() { MessagePresenter::Instance().SetDisplay(ShowMessageBoxDialog); }

}  // namespace lumora
