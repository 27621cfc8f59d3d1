#include "app/window/preview_frame_slot.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

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
    // Widened here, once, to the layout the window system's surfaces take as they are.
    const cv::Mat source(frame.height, frame.width, CV_8UC3, const_cast<unsigned char*>(frame.pixels), frame.stride);
    cv::Mat target(back_.height(), back_.width(), CV_8UC4, back_.bits(), back_.bytesPerLine());
    cv::cvtColor(source, target, cv::COLOR_BGR2BGRA);
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
