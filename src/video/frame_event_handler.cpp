#include "video/frame_event_handler.h"

#include "frames/frame_copy_event.h"

namespace lumora {

FrameEventHandler::FrameEventHandler(FrameStore& store, VirtualCameraLink& link, QObject* parent)
    : QObject(parent), store_(store), link_(link) {}

void FrameEventHandler::SendFrameToVirtualCamera() {
    if (observer_) observer_();
    if (!link_.IsOpen()) return;
    const FramePacketView packet = store_.BuildPacket();
    if (packet.data != nullptr && link_.WritePacket(packet.data, packet.PayloadSize())) ++packetsWritten_;
}

void FrameEventHandler::CopyCurrentFrame(FrameCopy* copy) { store_.CopyCurrent(copy); }

bool FrameEventHandler::event(QEvent* event) {
    switch (static_cast<int>(event->type())) {
        case MSG_FRAME_READY:
            SendFrameToVirtualCamera();
            return true;
        case MSG_GET_FRAME_COPY:
            CopyCurrentFrame(static_cast<FrameCopyEvent*>(event)->Copy());
            return true;
        default:
            return QObject::event(event);
    }
}

}  // namespace lumora
