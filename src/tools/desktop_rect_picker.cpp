#include "tools/desktop_rect_picker.h"

#include <lumora/zimage.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace lumora {

DesktopRectPicker::DesktopRectPicker(const Band& initial, QWidget* notify)
        : QWidget(notify, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), initial_(initial) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::CrossCursor);
    setWindowTitle("");
}

DesktopRectPicker::Band DesktopRectPicker::BandOf(QPoint anchor, QPoint at) {
    return {std::min(at.x(), anchor.x()), std::min(at.y(), anchor.y()), std::max(at.x(), anchor.x()) + 1,
            std::max(at.y(), anchor.y()) + 1};
}

QImage DesktopRectPicker::CopyScreen(QSize size) {
    QImage image(size, QImage::Format_BGR888);
    image.fill(Qt::black);
    ZImageBitmapInfoHeader header{};
    header.biSize = sizeof header;
    header.biWidth = size.width();
    header.biHeight = -size.height();
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::vector<std::uint8_t> pixels(ZImage_CalcImageSize(size.width(), size.height(), 24));
    const ZImageRect rect{0, 0, size.width(), size.height()};
    if (pixels.empty() || !ZImage_CopyScreenToBitmap(size.width(), size.height(), &rect, pixels.data(), &header)) {
        return image;
    }
    const QImage view(pixels.data(), size.width(), size.height(),
                      static_cast<qsizetype>(ZImage_CalcWidthBytes(size.width(), 24)), QImage::Format_BGR888);
    return view.copy();
}

void DesktopRectPicker::Start() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(640, 480);
    screen_ = CopyScreen(size);
    setGeometry(QRect(QPoint(0, 0), size));
    show();
    raise();
    activateWindow();
}

void DesktopRectPicker::DrawOutline(QPainter& painter, const Band& band) {
    if (band.right <= band.left && band.bottom <= band.top) return;
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(band.left, band.top, band.right, band.top);
    painter.drawLine(band.right, band.top, band.right, band.bottom);
    painter.drawLine(band.right, band.bottom, band.left, band.bottom);
    painter.drawLine(band.left, band.bottom, band.left, band.top);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DesktopRectPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, screen_);
    DrawOutline(painter, dragging_ || anchor_.x() >= 0 ? band_ : initial_);
}

void DesktopRectPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        close();
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    grabMouse();
    dragging_ = true;
    anchor_ = event->position().toPoint();
    band_ = BandOf(anchor_, anchor_);
    update();
}

void DesktopRectPicker::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    band_ = BandOf(anchor_, event->position().toPoint());
    update();
}

void DesktopRectPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    band_ = BandOf(anchor_, event->position().toPoint());
    releaseMouse();
    dragging_ = false;
    anchor_ = QPoint(-1, -1);
    emit picked(band_);
    close();
}

void DesktopRectPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Space) close();
}

void DesktopRectPicker::closeEvent(QCloseEvent* event) {
    if (dragging_) releaseMouse();
    dragging_ = false;
    anchor_ = QPoint(-1, -1);
    QWidget::closeEvent(event);
}

void DesktopRectPicker::changeEvent(QEvent* event) {
    if (event->type() != QEvent::ActivationChange) return;
    // Another window took the focus: the selection is over.
    if (isActiveWindow()) {
        wasActive_ = true;
    } else if (wasActive_) {
        close();
    }
}

}  // namespace lumora
