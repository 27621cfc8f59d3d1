#include "frames/frame_store.h"

#include "frames/frame_packet.h"

#include <cstring>
#include <new>
#include <utility>

namespace lumora {

std::uint32_t FramePacketView::PayloadSize() const {
    return size > FramePacket::kHeaderSize ? static_cast<std::uint32_t>(size - FramePacket::kHeaderSize) : 0;
}

bool FrameStore::Block::Grow(std::uint32_t length) {
    if (bytes && capacity >= length) return true;
    bytes.reset();
    bytes.reset(new (std::nothrow) unsigned char[FramePacket::kHeaderSize + std::size_t{length}]());
    capacity = bytes ? length : 0;
    size = 0;
    return static_cast<bool>(bytes);
}

unsigned char* FrameStore::Block::Payload() const { return bytes ? bytes.get() + FramePacket::kHeaderSize : nullptr; }

FramePacketView FrameStore::Block::View() {
    std::memset(bytes.get(), 0, FramePacket::kHeaderSize);
    FramePacket::FillFrameFields(bytes.get(), width, height);
    return {bytes.get(), FramePacket::kHeaderSize + std::size_t{size}};
}

unsigned char* FrameStore::BeginFrame(const Lock&, std::uint32_t length) {
    if (length == 0 || !spare_.Grow(length)) return nullptr;
    spare_.size = length;
    return spare_.Payload();
}

void FrameStore::CommitFrame(const Lock&) {
    if (spare_.size == 0) return;
    spare_.width = format_.biWidth;
    spare_.height = format_.biHeight;
    std::swap(spare_, latest_);
    spare_.size = 0;
    if (fresh_) ++overwritten_;
    fresh_ = true;
}

const unsigned char* FrameStore::Pixels(const Lock&) const { return Current().Payload(); }

void FrameStore::SetFormat(const ZImageBitmapInfoHeader& format) {
    Lock lock = WaitLock();
    format_ = format;
}

void FrameStore::CopyCurrent(FrameCopy* copy) {
    if (!copy) return;
    *copy = FrameCopy{};
    Lock lock = WaitLock();
    const Block& current = Current();
    if (current.size == 0) return;
    std::unique_ptr<unsigned char[]> pixels(new (std::nothrow) unsigned char[current.size]);
    if (!pixels) return;
    std::memcpy(pixels.get(), current.Payload(), current.size);
    copy->pixels = std::move(pixels);
    copy->size = current.size;
    copy->width = current.width;
    copy->height = current.height;
}

FramePacketView FrameStore::BuildPacket() {
    Lock lock = WaitLock();
    const bool repeat = !fresh_;
    if (fresh_) {
        std::swap(lent_, latest_);
        latest_.size = 0;
        fresh_ = false;
    }
    if (lent_.size > 0) {
        FramePacketView view = lent_.View();
        view.repeat = repeat;
        return view;
    }
    if (!black_.bytes) {
        if (!black_.Grow(ZImage_CalcImageSize(kBlackWidth, kBlackHeight, 24))) return {};
        black_.size = black_.capacity;
        black_.width = kBlackWidth;
        black_.height = kBlackHeight;
    }
    return black_.View();
}

}  // namespace lumora
