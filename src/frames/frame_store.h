// The latest processed frame, shared by the streaming thread that produces frames and the
// user-interface thread that sends them to the virtual camera and takes snapshots.
//
// Locking: one mutex guards every field. The streaming side only ever tries it (TryLock)
// and drops its frame when it is busy, so the user interface can never stall the video;
// the user-interface side waits (WaitLock). Operations taking a `const Lock&` require
// that lock to be held on this store. The compound operations (SetFormat, CopyCurrent,
// BuildPacket) take the lock themselves.
//
// Memory: frames live in three blocks laid out as virtual camera packets (a 40-byte
// header, then the pixels), so no frame is copied on its way to the device:
//   - the streaming side writes the next frame into the spare block (BeginFrame) and
//     swaps it with the latest one (CommitFrame);
//   - BuildPacket lends the latest block to the user-interface side by swapping it with
//     the lent one: the pixels are never copied, and the block it answers stays untouched
//     by the streaming side until the next BuildPacket.
// Each block grows to exactly the largest frame it held and is never shrunk; all of them
// live as long as the store.
#pragma once

#include "frames/frame_copy.h"

#include <lumora/zimage.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

class QObject;

namespace lumora {

class FrameProcessor;

// A packet lent by FrameStore::BuildPacket: 40 header bytes (the frame's fields filled) and
// the payload. Empty (null data) when no memory could be had.
struct FramePacketView {
    unsigned char* data = nullptr;
    std::size_t size = 0;
    bool repeat = false;  // the same frame as the BuildPacket before
    std::uint32_t PayloadSize() const;
};

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

    // Streaming side, two steps under one lock. BeginFrame answers the spare block's room for
    // `length` payload bytes (zeroed when it had to grow), or null when that memory cannot
    // be had. CommitFrame makes what was written there the current frame, in the format
    // set last. A BeginFrame without its CommitFrame changes nothing the other side sees.
    unsigned char* BeginFrame(const Lock& lock, std::uint32_t length);
    void CommitFrame(const Lock& lock);

    // The current frame: the latest committed one, lent or not (size 0: none yet).
    std::uint32_t Size(const Lock&) const { return Current().size; }
    const unsigned char* Pixels(const Lock&) const;
    const ZImageBitmapInfoHeader& Format(const Lock&) const { return format_; }
    // Frames replaced by a newer one before BuildPacket sent them, since the store was made.
    std::uint64_t Overwritten(const Lock&) const { return overwritten_; }

    // The format of the frames to come, from the negotiated caps of each new pipeline.
    void SetFormat(const ZImageBitmapInfoHeader& format);

    // Copies the current frame into `copy` (zeroed first; left zero when the store is empty
    // or the allocation fails).
    void CopyCurrent(FrameCopy* copy);

    // User-interface side: the packet for the virtual camera, with the frame's header fields
    // filled; the link fills the rest when it writes. It holds the current frame, or a black
    // 320×240 one when there is none. The caller may write the header and must not use the
    // block after its next BuildPacket or the store's end. An empty view when the memory
    // for the black frame cannot be had.
    FramePacketView BuildPacket();

    // Wiring, set once while no stream runs: where MSG_FRAME_READY goes, and the frame
    // processor (the effect chain) run on every frame. Neither is owned.
    void SetTarget(QObject* target) { target_ = target; }
    QObject* Target() const { return target_; }
    void SetProcessor(FrameProcessor* processor) { processor_ = processor; }
    FrameProcessor* Processor() const { return processor_; }

private:
    // One packet-shaped block; `size` counts the payload of the frame it holds (0: none).
    struct Block {
        std::unique_ptr<unsigned char[]> bytes;
        std::uint32_t capacity = 0;  // payload bytes it has room for
        std::uint32_t size = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;

        bool Grow(std::uint32_t length);
        unsigned char* Payload() const;
        FramePacketView View();  // fills the header's frame fields
    };

    const Block& Current() const { return fresh_ ? latest_ : lent_; }

    std::mutex mutex_;
    Block spare_;         // streaming side: the frame being written
    Block latest_;        // the newest committed frame, while not yet lent
    Block lent_;          // user-interface side: the packet BuildPacket answered last
    Block black_;         // made when first sent
    bool fresh_ = false;  // latest_ holds a frame newer than lent_
    std::uint64_t overwritten_ = 0;
    ZImageBitmapInfoHeader format_{};
    QObject* target_ = nullptr;
    FrameProcessor* processor_ = nullptr;
};

}  // namespace lumora
