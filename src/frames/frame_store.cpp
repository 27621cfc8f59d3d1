#include "frames/frame_store.h"

#include "frames/frame_packet.h"

#include <cstring>
#include <new>

namespace lumora {

bool FrameStore::Reserve(const Lock&, std::uint32_t length) {
    if (capacity_ >= length && pixels_) return true;
    pixels_.reset();
    pixels_.reset(new (std::nothrow) unsigned char[length]());
    if (!pixels_) {
        capacity_ = 0;
        size_ = 0;
        return false;
    }
    capacity_ = length;
    return true;
}

void FrameStore::Store(const Lock&, const unsigned char* data, std::uint32_t length) {
    if (!pixels_ || length > capacity_) return;
    std::memcpy(pixels_.get(), data, length);
    size_ = length;
}

void FrameStore::SetFormat(const ZImageBitmapInfoHeader& format) {
    Lock lock = WaitLock();
    format_ = format;
}

void FrameStore::CopyCurrent(FrameCopy* copy) {
    if (!copy) return;
    *copy = FrameCopy{};
    Lock lock = WaitLock();
    if (!HasFrame(lock)) return;
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[size_]());
    if (!block) return;
    std::memcpy(block.get(), pixels_.get(), size_);
    copy->pixels = std::move(block);
    copy->size = size_;
    copy->width = format_.biWidth;
    copy->height = format_.biHeight;
}

bool FrameStore::BuildPacket(std::vector<unsigned char>* packet) {
    Lock lock = WaitLock();
    const bool real = HasFrame(lock);
    const std::uint32_t payload = real ? size_ : ZImage_CalcImageSize(kBlackWidth, kBlackHeight, 24);
    try {
        packet->resize(FramePacket::kHeaderSize + payload);  // keeps its block between frames
    } catch (const std::bad_alloc&) {
        packet->clear();
        return false;
    }
    unsigned char* pixels = packet->data() + FramePacket::kHeaderSize;
    std::memset(packet->data(), 0, FramePacket::kHeaderSize);
    if (real) {
        FramePacket::FillFrameFields(packet->data(), format_.biWidth, format_.biHeight);
        std::memcpy(pixels, pixels_.get(), size_);
    } else {
        FramePacket::FillFrameFields(packet->data(), kBlackWidth, kBlackHeight);
        std::memset(pixels, 0, payload);
    }
    return true;
}

}  // namespace lumora
