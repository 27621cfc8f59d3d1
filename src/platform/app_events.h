// Lumora's own event types. Their numbers are the contract between the parts of the
// program that post them and the main window that handles them.
#pragma once

#include <QEvent>

namespace lumora {

enum AppEvent : int {
    MSG_FRAME_READY = 3025,       // a processed frame is in the frame store
    MSG_APPLY_SKIN = 3125,        // apply the skin carried by the event
    MSG_TRAY_NOTIFY = 3774,       // the tray icon was used
    MSG_GET_FRAME_COPY = 3775,    // copy the current frame into the event's FrameCopy
    MSG_GRAPH_EVENT = 3784,       // the source pipeline has news (end of stream, error)
    MSG_RECONNECT_SOURCE = 3794,  // rebuild the source pipeline
};

constexpr QEvent::Type EventType(AppEvent event) { return static_cast<QEvent::Type>(event); }

static_assert(int{MSG_FRAME_READY} > int{QEvent::User} && int{MSG_RECONNECT_SOURCE} < int{QEvent::MaxUser},
              "our event numbers must lie in Qt's user range");

}  // namespace lumora
