// The real message boxes: QMessageBox with the caption, icon and buttons the flags ask for,
// owned by the request's owner window. The windowed program installs them as the
// presenter's display at start-up; programs without widgets never link them.
//
// Thread: user-interface thread, with a QApplication.
#pragma once

#include "platform/message_presenter.h"

namespace lumora {

// Shows `request` modally and answers the button pressed (id::kYes, ...).
int ShowMessageBoxDialog(const MessageRequest& request);

// Makes ShowMessageBoxDialog the presenter's display.
void InstallMessageBoxDialogs();

}  // namespace lumora
