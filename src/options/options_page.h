// OptionsPage: what the two pages of the options window share: a background of the
// skin's tabs-window colour, and the skin passed on to their panels (from ApplySkin or an
// ApplySkinEvent, MSG_APPLY_SKIN).
//
// Owned by the options window; the panels are its children. User-interface thread.
#pragma once

#include "options/options_panel.h"
#include "skins/skin_colour.h"

#include <QWidget>

#include <vector>

namespace lumora {

class OptionsPage : public QWidget {
public:
    OptionsPage(const QString& className, QWidget* parent);

    void ApplySkin(const Skin& skin);

protected:
    // A panel to pass the skin to, in order.
    void AddPanel(OptionsPanel& panel) { panels_.push_back(&panel); }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<OptionsPanel*> panels_;
    SkinColour background_ = NoColour;
};

}  // namespace lumora
