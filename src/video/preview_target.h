// PreviewTarget: what the preview sink paints into — implemented by the main window's
// PreviewWindow widget (and by counting stand-ins in tests). Frames arrive as they leave
// the "Grabber", processed, in GStreamer's row order (top row first).
//
// Threads: PresentFrame runs on the preview branch's streaming thread and must neither
// block on the user-interface thread nor keep the pixels: copy what you need and post
// yourself an update. The other calls come from the user-interface thread.
//
// Lifetime: the source graph attaches a target after each render and detaches it in its
// teardown; once detached, PresentFrame is not called any more. The target must outlive
// the source graph's use of it (SourceGraph::Initialize until its teardown).
#pragma once

#include <QRect>
#include <QSize>

#include <cstddef>

namespace lumora {

// One frame of 24-bit BGR pixels, rows top-down, `stride` bytes apart. Valid only during
// the PresentFrame call.
struct PreviewFrame {
    const unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    double time = 0.0;  // stream time in seconds
};

class PreviewTarget {
public:
    virtual void PresentFrame(const PreviewFrame& frame) = 0;

    // The client size of the preview window: the video fills it when it is attached.
    virtual QSize PreviewSize() const = 0;

    // Where the video is drawn inside the preview window.
    virtual void SetVideoRect(const QRect& rect) = 0;

    // Shown after an attach, hidden by a teardown.
    virtual void SetVideoVisible(bool visible) = 0;

protected:
    ~PreviewTarget() = default;
};

}  // namespace lumora
