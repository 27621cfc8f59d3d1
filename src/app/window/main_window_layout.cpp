#include "app/window/main_window_layout.h"

#include "app/window/command_ids.h"
#include "skins/main_window_chrome.h"

namespace lumora {

MainWindowLayout::MainWindowLayout(QSize video)
        : video_(video.width() < 1 || video.height() < 1 ? kFallbackVideo : video) {}

QSize MainWindowLayout::Window() const { return MainWindowChrome::WindowSize(video_); }

QRect MainWindowLayout::Preview() const { return MainWindowChrome::PreviewRect(video_); }

QRect MainWindowLayout::Button(int commandId) const {
    const int w = Window().width();
    const int h = Window().height();
    switch (commandId) {
        case cmd::kFileButton: return {10, 36, 20, 13};
        case cmd::kSourceButton: return {35, 36, 63, 13};
        case cmd::kVideoOptionsButton: return {103, 36, 38, 13};
        case cmd::kSkinButton: return {146, 36, 25, 13};
        case cmd::kClose: return {w - 25, 5, 20, 20};
        case cmd::kMinimize: return {w - 50, 5, 20, 20};
        // Integer division as the layout has always done it: odd heights round toward zero.
        case cmd::kOptionsButton: return {w - 18, h - (video_.height() - 78) / 2 - 97, 13, 78};
        default: return {};
    }
}

bool MainWindowLayout::InCaption(QPoint point, QSize window) {
    return point.y() >= 0 && point.y() < kCaptionHeight && point.x() >= 0 &&
           point.x() < window.width() - kCaptionButtonsWidth;
}

}  // namespace lumora
