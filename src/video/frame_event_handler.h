// The user-interface side of the frame hand-off. It is the frame store's target:
// MSG_FRAME_READY sends the current frame to the virtual camera, MSG_GET_FRAME_COPY
// copies it for a snapshot.
//
// Thread: lives on and is called on the user-interface thread. Lifetime: borrows the store
// and the link, which must outlive it; it must outlive every pipeline posting to it.
#pragma once

#include "frames/frame_copy.h"
#include "frames/frame_store.h"
#include "video/virtual_camera_link.h"

#include <QObject>

#include <functional>

namespace lumora {

class FrameEventHandler : public QObject {
    Q_OBJECT
public:
    FrameEventHandler(FrameStore& store, VirtualCameraLink& link, QObject* parent = nullptr);

    // Called for every frame before it is sent (the playback position follows it).
    void SetFrameObserver(std::function<void()> observer) { observer_ = std::move(observer); }

    // Wraps the current frame (or a black one when there is none) in a packet and writes it
    // to the virtual camera. Nothing is written when no device is open.
    void SendFrameToVirtualCamera();

    // Fills `copy` with the current frame; leaves it empty when there is none.
    void CopyCurrentFrame(FrameCopy* copy);

    // Packets written since construction (for the headless front end's report).
    std::uint64_t PacketsWritten() const { return packetsWritten_; }

protected:
    bool event(QEvent* event) override;

private:
    FrameStore& store_;
    VirtualCameraLink& link_;
    std::function<void()> observer_;
    std::uint64_t packetsWritten_ = 0;
};

}  // namespace lumora
