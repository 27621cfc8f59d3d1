#include "skins/main_window_chrome.h"

#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {

void MainWindowChrome::Paint(QPainter& painter, const QRect& client, const QRegion& windowRegion, const QRect& preview,
                             const Skin& skin) {
    FillTexturedWindow(painter, client, windowRegion, skin.mainWindow.background, skin.mainWindow.border);
    DrawBitmapAt(painter, kCaptionOrigin.x(), kCaptionOrigin.y(), skin.mainWindow.caption);
    // From x = 5 up to, not including, the right edge less 5.
    const int lineEnd = client.right() + 1 - 5;
    FillSkinRect(painter, QRect(5, kCaptionLineY, lineEnd - 5, 1), skin.mainWindow.captionLine);
    DrawPreviewFrame(painter, preview, skin.preview);
}

}  // namespace lumora
