// CommandEvent: a command sent to the main window by another window (the options
// window's playback panel, the recording dialog, ...), carrying its command number.
// Posted or sent on the user-interface thread like any event.
#pragma once

#include <QEvent>

namespace lumora {

class CommandEvent : public QEvent {
public:
    // Below our own message numbers, inside Qt's user range.
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 0x111);

    explicit CommandEvent(int command) : QEvent(kType), command_(command) {}
    int command() const { return command_; }

private:
    int command_;
};

}  // namespace lumora
