#include "skins/skin_editor_preview.h"

#include "skins/main_window_chrome.h"
#include "skins/skin_drawing.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace lumora {
namespace {

struct PlacedButton {
    const ButtonBitmaps& bitmaps;
    QRect rect;
};

// Where the main window places its buttons for a window of `window` around `video`.
std::vector<PlacedButton> Buttons(const Skin& skin, QSize window, QSize video) {
    const int w = window.width();
    const int h = window.height();
    return {
        {skin.menu.file, {10, 36, 20, 13}},
        {skin.menu.source, {35, 36, 63, 13}},
        {skin.menu.options, {103, 36, 38, 13}},
        {skin.menu.skin, {146, 36, 25, 13}},
        {skin.mainWindow.close, {w - 25, 5, 20, 20}},
        {skin.mainWindow.minimize, {w - 50, 5, 20, 20}},
        {skin.showOptions, {w - 18, h - (video.height() - 78) / 2 - 97, 13, 78}},
    };
}

}  // namespace

void SkinEditorPreview::SetSkin(std::unique_ptr<Skin> skin) {
    skin_ = std::move(skin);
    update();
}

void SkinEditorPreview::PaintWindow(QPainter& painter, const Skin& skin, QSize video) {
    const QSize window = MainWindowChrome::WindowSize(video);
    const QRegion outline = RoundedWindowRegion(window);
    const QRect preview = MainWindowChrome::PreviewRect(video);
    painter.save();
    painter.setClipRegion(outline);
    MainWindowChrome::Paint(painter, QRect(QPoint(), window), outline, preview, skin);
    // A sky where the video would be, so the frame is seen against a picture.
    QLinearGradient sky(preview.topLeft(), preview.bottomLeft());
    sky.setColorAt(0, QColor(40, 70, 110));
    sky.setColorAt(1, QColor(200, 140, 90));
    painter.fillRect(preview, sky);
    for (const PlacedButton& button : Buttons(skin, window, video)) {
        DrawBitmapInRect(painter, button.rect, button.bitmaps.normal);
    }
    painter.restore();
}

void SkinEditorPreview::paintEvent(QPaintEvent*) {
    if (!skin_) return;
    QPainter painter(this);
    const QSize window = MainWindowChrome::WindowSize(kVideo);
    const qreal scale = std::min({1.0, qreal(width()) / window.width(), qreal(height()) / window.height()});
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate((width() - window.width() * scale) / 2, (height() - window.height() * scale) / 2);
    painter.scale(scale, scale);
    PaintWindow(painter, *skin_, kVideo);
}

}  // namespace lumora
