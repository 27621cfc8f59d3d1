#include "app/window/preview_frame_slot.h"

#include <bit>
#include <cstring>

namespace lumora {

namespace {

// One row of 24-bit BGR widened to 0xffRRGGBB on the calling thread. OpenCV's cvtColor
// would share a frame among its worker threads, and at preview sizes waking them costs more
// than the copy. Each pixel but the last is read as four bytes (its own and the next one's
// blue), so no read passes the row's end.
void WidenRow(const unsigned char* from, QRgb* to, int width) {
    static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");
    int x = 0;
    for (; x + 1 < width; ++x) {
        std::uint32_t word;
        std::memcpy(&word, from + 3 * static_cast<std::size_t>(x), sizeof word);
        to[x] = word | 0xff000000u;
    }
    const unsigned char* last = from + 3 * static_cast<std::size_t>(x);
    to[x] = qRgb(last[2], last[1], last[0]);
}

bool Plausible(const PreviewFrame& frame) {
    if (!frame.pixels || frame.width < 1 || frame.height < 1) return false;
    return frame.stride >= static_cast<std::size_t>(frame.width) * 3;
}

}  // namespace

bool PreviewFrameSlot::Put(const PreviewFrame& frame) {
    if (!Plausible(frame)) return false;
    std::lock_guard lock(mutex_);
    if (back_.width() != frame.width || back_.height() != frame.height) {
        back_ = QImage(frame.width, frame.height, QImage::Format_RGB32);
        if (back_.isNull()) return false;  // out of memory: the frame is dropped
    }
    // Widened here, once, to the layout the window system's surfaces take as they are.
    for (int y = 0; y < frame.height; ++y) {
        WidenRow(frame.pixels + static_cast<std::size_t>(y) * frame.stride, reinterpret_cast<QRgb*>(back_.scanLine(y)),
                 frame.width);
    }
    fresh_ = true;
    ++framesPut_;
    const bool tell = !updatePending_;
    updatePending_ = true;
    return tell;
}

bool PreviewFrameSlot::Take(QImage& shown) {
    std::lock_guard lock(mutex_);
    updatePending_ = false;
    if (!fresh_) return false;
    std::swap(shown, back_);
    fresh_ = false;
    return true;
}

void PreviewFrameSlot::Clear() {
    std::lock_guard lock(mutex_);
    fresh_ = false;
}

std::uint64_t PreviewFrameSlot::FramesPut() const {
    std::lock_guard lock(mutex_);
    return framesPut_;
}

}  // namespace lumora
