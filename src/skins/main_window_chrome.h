// MainWindowChrome: the main window's own painting, under its buttons and around the
// video: the background texture inside the window's rounded outline, the caption picture
// with the line under it, and the frame around the preview. Layout numbers are those of
// the main window: the preview at (24, 68), the window 66 pixels wider and 87 higher than
// the video. Stateless; paints on any QPainter.
#pragma once

#include "skins/skin.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

class QPainter;

namespace lumora {

class MainWindowChrome {
public:
    static constexpr QPoint kPreviewOrigin{24, 68};
    static constexpr QPoint kCaptionOrigin{5, 5};
    static constexpr int kCaptionLineY = 30;

    // The window's client size for a video of `video` pixels.
    static QSize WindowSize(QSize video) { return video + QSize(66, 87); }
    static QRect PreviewRect(QSize video) { return {kPreviewOrigin, video}; }

    // Paints a window of `windowRegion` (its rounded outline; empty for a plain
    // rectangle) whose client rectangle is `client`, with the preview at `preview`.
    static void Paint(QPainter& painter, const QRect& client, const QRegion& windowRegion, const QRect& preview,
                      const Skin& skin);
};

}  // namespace lumora
