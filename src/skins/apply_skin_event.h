// ApplySkinEvent: the MSG_APPLY_SKIN event, carrying the Skin a window is to take. The
// receiver copies what it needs out of the Skin (whose pictures it then borrows; see
// skin.h) and repaints. Sent synchronously on the user-interface thread; the event only
// points at the Skin, which outlives it.
#pragma once

#include "platform/app_events.h"

#include <QEvent>

namespace lumora {

class Skin;

class ApplySkinEvent : public QEvent {
public:
    explicit ApplySkinEvent(const Skin& skin) : QEvent(EventType(MSG_APPLY_SKIN)), skin_(skin) {}

    const Skin& skin() const { return skin_; }

    // The skin of `event` when it is an ApplySkinEvent, else null.
    static const Skin* SkinOf(const QEvent* event) {
        return event && event->type() == EventType(MSG_APPLY_SKIN) ? &static_cast<const ApplySkinEvent*>(event)->skin_
                                                                   : nullptr;
    }

private:
    const Skin& skin_;
};

}  // namespace lumora
