// PreviewWindow: the child of the main window that shows the processed video. The source
// graph's preview sink hands it every frame (PreviewTarget); the widget paints the newest
// one scaled into its video rectangle, black around and while no video is shown.
//
// While the zoom effect is on, a left-button drag moves the zoomed picture (ZoomDrag): each
// move shifts the zoom's offsets and activates the zoom again so that it takes them, but
// only while a graph has been built.
//
// Threads: PresentFrame runs on a streaming thread: it copies the frame into a
// PreviewFrameSlot and posts an update to this widget; painting and everything else runs
// on the user-interface thread. Lifetime: owned by the main window; the effect chain and
// the graph-built test are borrowed and must outlive it; the source graph detaches it
// before it is destroyed (see preview_target.h).
#pragma once

#include "app/window/preview_frame_slot.h"
#include "app/window/zoom_drag.h"
#include "video/preview_target.h"

#include <QImage>
#include <QWidget>

#include <atomic>
#include <functional>

namespace lumora {

class EffectChain;

class PreviewWindow : public QWidget, public PreviewTarget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent);

    // The chain whose zoom the drag moves and whether a graph exists; null: no drag.
    void SetZoomControl(EffectChain* chain, std::function<bool()> graphBuilt);

    void PresentFrame(const PreviewFrame& frame) override;
    QSize PreviewSize() const override { return size(); }
    void SetVideoRect(const QRect& rect) override;
    void SetVideoVisible(bool visible) override;

    // Frames painted so far (each one a new frame), for tests and measurements.
    std::uint64_t FramesShown() const { return framesShown_; }
    const ZoomDrag& Drag() const { return drag_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool ZoomActive() const;
    void MoveZoom(QPoint delta);

    PreviewFrameSlot slot_;
    QImage shown_;
    QRect videoRect_;
    bool videoVisible_ = false;
    std::uint64_t framesShown_ = 0;
    ZoomDrag drag_;
    EffectChain* chain_ = nullptr;
    std::function<bool()> graphBuilt_;
};

}  // namespace lumora
