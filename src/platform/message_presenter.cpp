#include "platform/message_presenter.h"

#include <QMessageBox>

namespace lumora {
namespace {

constexpr const char* kCaption = "Lumora";

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

MessagePresenter& MessagePresenter::Instance() {
    static MessagePresenter presenter;
    return presenter;
}

int MessagePresenter::Present(QWidget* owner, const std::string& text, unsigned flags) {
    MessageRequest request{owner, kCaption, text, flags};
    if (hook_) return hook_(request);
    return ShowDialog(request);
}

MessagePresenter::Hook MessagePresenter::SetHook(Hook hook) {
    Hook previous = std::move(hook_);
    hook_ = std::move(hook);
    return previous;
}

int MessagePresenter::ShowDialog(const MessageRequest& request) {
    QMessageBox box(IconFor(request.flags), QString::fromUtf8(request.caption.c_str()),
                    QString::fromUtf8(request.text.c_str()), ButtonsFor(request.flags),
                    request.owner);
    return ButtonId(box.exec());
}

}  // namespace lumora
