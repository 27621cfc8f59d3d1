// MSG_GET_FRAME_COPY: sent (not posted) to the frame event handler by the snapshot
// manager; the handler fills the copy the event points at before sendEvent returns.
#pragma once

#include "frames/frame_copy.h"
#include "platform/app_events.h"

namespace lumora {

class FrameCopyEvent : public QEvent {
public:
    explicit FrameCopyEvent(FrameCopy* copy) : QEvent(EventType(MSG_GET_FRAME_COPY)), copy_(copy) {}
    FrameCopy* Copy() const { return copy_; }

private:
    FrameCopy* copy_;
};

}  // namespace lumora
