// TrayNotifyEvent: MSG_TRAY_NOTIFY, posted by the TrayIcon to the main window when the
// icon was clicked, with the button that was used.
#pragma once

#include "platform/app_events.h"

#include <QEvent>

namespace lumora {

class TrayNotifyEvent : public QEvent {
public:
    explicit TrayNotifyEvent(Qt::MouseButton button) : QEvent(EventType(MSG_TRAY_NOTIFY)), button_(button) {}
    Qt::MouseButton button() const { return button_; }

private:
    Qt::MouseButton button_;
};

}  // namespace lumora
