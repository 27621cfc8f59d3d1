// The latest processed frame, shared by the streaming thread that produces frames and the
// user-interface thread that sends them to the virtual camera and takes snapshots.
//
// Locking: one mutex guards every field. The streaming side only ever tries it (TryLock)
// and drops its frame when it is busy, so the user interface can never stall the video;
// the user-interface side waits (WaitLock). Operations taking a `const Lock&` require
// that lock to be held on this store. The compound operations (SetFormat, CopyCurrent,
// BuildPacket) take the lock themselves.
//
// Memory: one zero-initialised block that grows to exactly the largest frame seen and is
// never shrunk; it lives as long as the store.
#pragma once

#include "frames/frame_copy.h"

#include <lumora/zimage.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class QObject;

namespace lumora {

class FrameProcessor;

class FrameStore {
public:
    using Lock = std::unique_lock<std::mutex>;

    // Size of the black frame sent while the store holds none.
    static constexpr std::int32_t kBlackWidth = 320;
    static constexpr std::int32_t kBlackHeight = 240;

    FrameStore() = default;
    FrameStore(const FrameStore&) = delete;
    FrameStore& operator=(const FrameStore&) = delete;

    // Streaming side: the lock if it is free at once; owns_lock() is false otherwise.
    Lock TryLock() { return Lock(mutex_, std::try_to_lock); }
    // User-interface side: waits for the lock.
    Lock WaitLock() { return Lock(mutex_); }

    // Makes room for `length` bytes: a block smaller than that is replaced by a zeroed one of
    // exactly `length`. When that allocation fails the store is emptied (no pixels, capacity
    // and size 0) and the answer is false.
    bool Reserve(const Lock& lock, std::uint32_t length);

    // Copies `length` bytes into the block (Reserve first) and makes them the current frame.
    void Store(const Lock& lock, const unsigned char* data, std::uint32_t length);

    bool HasFrame(const Lock&) const { return pixels_ && size_ > 0; }
    std::uint32_t Capacity(const Lock&) const { return capacity_; }
    std::uint32_t Size(const Lock&) const { return size_; }
    const unsigned char* Pixels(const Lock&) const { return pixels_.get(); }
    const ZImageBitmapInfoHeader& Format(const Lock&) const { return format_; }

    // The format of the frames to come, from the negotiated caps of each new pipeline.
    void SetFormat(const ZImageBitmapInfoHeader& format);

    // Copies the current frame into `copy` (zeroed first; left zero when the store is empty
    // or the allocation fails).
    void CopyCurrent(FrameCopy* copy);

    // Makes the packet for the virtual camera: the frame's header fields and pixels of the
    // current frame, or of a black 320×240 frame when there is none; the link fills the
    // rest of the header when it writes. The payload size is packet->size() - 40. Answers
    // false, with `packet` empty, when the memory cannot be had.
    bool BuildPacket(std::vector<unsigned char>* packet);

    // Wiring, set once while no stream runs: where MSG_FRAME_READY goes, and the frame
    // processor (the effect chain) run on every frame. Neither is owned.
    void SetTarget(QObject* target) { target_ = target; }
    QObject* Target() const { return target_; }
    void SetProcessor(FrameProcessor* processor) { processor_ = processor; }
    FrameProcessor* Processor() const { return processor_; }

private:
    std::mutex mutex_;
    std::unique_ptr<unsigned char[]> pixels_;
    std::uint32_t capacity_ = 0;
    std::uint32_t size_ = 0;
    ZImageBitmapInfoHeader format_{};
    QObject* target_ = nullptr;
    FrameProcessor* processor_ = nullptr;
};

}  // namespace lumora
