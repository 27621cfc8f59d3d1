// SkinEditorPreview: the skin editor's picture of the main window as a skin draws it: the
// window's outline, background, caption and caption line, the frame around a stand-in
// video, and the menu, Close, Minimize and Options buttons in their normal state. The
// window is scaled down to fit the pane when it is larger, never up.
//
// A widget; user-interface thread. Owns the skin it shows (loaded by the editor's dialog
// from the folder being edited); without one it shows an empty pane.
#pragma once

#include "skins/skin.h"

#include <QRect>
#include <QSize>
#include <QWidget>

#include <memory>

namespace lumora {

class SkinEditorPreview : public QWidget {
public:
    // The video size the window is drawn around.
    static constexpr QSize kVideo{240, 180};

    explicit SkinEditorPreview(QWidget* parent) : QWidget(parent) {}

    void SetSkin(std::unique_ptr<Skin> skin);
    const Skin* Shown() const { return skin_.get(); }

    // The main window for a video of `video` at the window's own size, on `painter`
    // with its top-left at the origin.
    static void PaintWindow(QPainter& painter, const Skin& skin, QSize video);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<Skin> skin_;
};

}  // namespace lumora
