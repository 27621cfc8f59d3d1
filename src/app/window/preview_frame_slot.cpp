#include "app/window/preview_frame_slot.h"

#include "zimage/row_converter.h"

namespace lumora {

namespace {

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
    // Widened here, once, on this thread (OpenCV's cvtColor would share a preview-sized
    // frame among worker threads whose wake-ups cost more than the copy), to the layout
    // the window system's surfaces take as they are.
    for (int y = 0; y < frame.height; ++y) {
        zimage::RowConverter::BgrToBgrx(frame.pixels + static_cast<std::size_t>(y) * frame.stride, back_.scanLine(y),
                                        static_cast<std::size_t>(frame.width));
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
