// DesktopRectPicker: the full-screen window over a frozen copy of the screen in which the
// user drags the desktop rectangle to capture. The initial rectangle is outlined; pressing
// the left button starts a band at that pixel, dragging stretches it between the anchor
// and the pointer (both pixels inside), and releasing emits picked with the band and closes
// the window. The right button, Esc, Space or the window losing activation close it without
// a result. Coordinates are screen pixels (the window covers the primary screen from 0, 0).
//
// Thread: user-interface thread. The window deletes itself when it closes.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

namespace lumora {

class DesktopRectPicker : public QWidget {
    Q_OBJECT
public:
    // Right and bottom of a band are just outside it.
    struct Band {
        int left;
        int top;
        int right;
        int bottom;
        bool operator==(const Band&) const = default;
    };

    DesktopRectPicker(const Band& initial, QWidget* notify);

    // Takes the screen copy and shows the window over the whole primary screen.
    void Start();

    // The band between the anchor and the pointer.
    static Band BandOf(QPoint anchor, QPoint at);

signals:
    void picked(const DesktopRectPicker::Band& band);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static QImage CopyScreen(QSize size);
    static void DrawOutline(QPainter& painter, const Band& band);

    QImage screen_;
    Band initial_;
    Band band_{0, 0, 0, 0};
    QPoint anchor_{-1, -1};
    bool dragging_ = false;
    bool wasActive_ = false;
};

}  // namespace lumora
