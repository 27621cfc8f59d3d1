#include "video/main_grabber_callback.h"

#include "frames/frame_processor.h"
#include "platform/app_events.h"

#include <QCoreApplication>

#include <limits>

namespace lumora {

HRESULT MainGrabberCallback::BufferCB(double sampleTime, unsigned char* buffer, long length) {
    if (!buffer) return E_POINTER;
    if (length < 1 || static_cast<unsigned long>(length) > std::numeric_limits<std::uint32_t>::max()) {
        return E_INVALIDARG;
    }
    FrameStore::Lock lock = store_.TryLock();
    if (!lock.owns_lock()) return E_FAIL;

    const auto size = static_cast<std::uint32_t>(length);
    if (!store_.Reserve(lock, size)) return E_OUTOFMEMORY;

    bool changed = false;
    if (FrameProcessor* processor = store_.Processor()) {
        const ZImageBitmapInfoHeader& format = store_.Format(lock);
        // Effects only ever see a frame that really has the format's size.
        if (ZImage_CalcImageSize(format.biWidth, format.biHeight, 24) <= size) {
            changed = processor->ProcessFrame(buffer, format.biWidth, format.biHeight, sampleTime);
        }
    }
    store_.Store(lock, buffer, size);
    if (QObject* target = store_.Target()) {
        QCoreApplication::postEvent(target, new QEvent(EventType(MSG_FRAME_READY)));
    }
    return changed ? S_OK : S_FALSE;
}

}  // namespace lumora
