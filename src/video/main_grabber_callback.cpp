#include "video/main_grabber_callback.h"

#include "frames/frame_processor.h"
#include "platform/app_events.h"

#include <QCoreApplication>

#include <cstring>
#include <limits>
#include <utility>

namespace lumora {

unsigned char* MainGrabberCallback::FrameBlock(std::uint32_t length) {
    pending_ = FrameStore::Lock{};
    block_ = nullptr;
    FrameStore::Lock lock = store_.TryLock();
    if (!lock.owns_lock()) return nullptr;
    block_ = store_.BeginFrame(lock, length);
    if (block_ != nullptr) pending_ = std::move(lock);
    return block_;
}

HRESULT MainGrabberCallback::BufferCB(double sampleTime, unsigned char* buffer, long length) {
    if (!buffer) return E_POINTER;
    if (length < 1 || static_cast<unsigned long>(length) > std::numeric_limits<std::uint32_t>::max()) {
        return E_INVALIDARG;
    }
    const auto size = static_cast<std::uint32_t>(length);
    if (pending_.owns_lock() && buffer == block_) {
        FrameStore::Lock lock = std::move(pending_);
        block_ = nullptr;
        const bool changed = Process(lock, buffer, size, sampleTime);
        store_.CommitFrame(lock);
        lock.unlock();
        Announce();
        return changed ? S_OK : S_FALSE;
    }
    pending_ = FrameStore::Lock{};
    block_ = nullptr;
    FrameStore::Lock lock = store_.TryLock();
    if (!lock.owns_lock()) return E_FAIL;
    unsigned char* block = store_.BeginFrame(lock, size);
    if (block == nullptr) return E_OUTOFMEMORY;
    const bool changed = Process(lock, buffer, size, sampleTime);
    std::memcpy(block, buffer, size);
    store_.CommitFrame(lock);
    lock.unlock();
    Announce();
    return changed ? S_OK : S_FALSE;
}

// Effects only ever see a frame that really has the format's size.
bool MainGrabberCallback::Process(const FrameStore::Lock& lock, unsigned char* pixels, std::uint32_t size,
                                  double sampleTime) {
    FrameProcessor* processor = store_.Processor();
    const ZImageBitmapInfoHeader& format = store_.Format(lock);
    if (processor == nullptr || ZImage_CalcImageSize(format.biWidth, format.biHeight, 24) > size) return false;
    return processor->ProcessFrame(pixels, format.biWidth, format.biHeight, sampleTime);
}

void MainGrabberCallback::Announce() {
    if (QObject* target = store_.Target()) {
        QCoreApplication::postEvent(target, new QEvent(EventType(MSG_FRAME_READY)));
    }
}

}  // namespace lumora
