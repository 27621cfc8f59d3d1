// OptionsPanel: what the panels of the options pages share: a frame of the skin's dark or
// light window pieces (6-pixel edges and corners) around the panel's controls, and the
// skin passed on to those controls. A panel takes the skin from ApplySkin or from an
// ApplySkinEvent (MSG_APPLY_SKIN), copies what it paints with (the pictures stay borrowed
// from the Skin, which must outlive their use) and repaints.
//
// Owned by its page; user-interface thread.
#pragma once

#include "skins/skin.h"

#include <QWidget>

class QPainter;

namespace lumora {

class OptionsPanel : public QWidget {
public:
    enum class Frame { kDark, kLight };

    static constexpr int kFramePiece = 6;

    OptionsPanel(Frame frame, const QString& className, QWidget* parent);

    void ApplySkin(const Skin& skin);

protected:
    // The controls take their part of the skin; the panel repaints afterwards.
    virtual void SkinControls(const Skin& skin) = 0;
    // Painted over the frame.
    virtual void PaintContents(QPainter& painter) { (void)painter; }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    const Frame frame_;
    FramePieces pieces_;
};

}  // namespace lumora
