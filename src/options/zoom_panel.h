// ZoomPanel ("ParvelZoom"): the zoom buttons in (2009), out (2010) and default (2011),
// the check boxes "Enable face detection/tracking" (2012) and "Show face locator" (2013,
// checked at first), and the zoom text ("Zoom: x1.50", or the face-following zoom's
// amount, "Zoom: medium"). The rules are ZoomControl's; a face tracking that cannot start
// says "Couldn't initialize face detection/tracking library!".
//
// The locator check box is enabled only while the panel is enabled and face tracking is
// checked. The chain is borrowed and must outlive the panel. Owned by the Filters page;
// user-interface thread.
#pragma once

#include "effects/effect_chain.h"
#include "options/options_panel.h"
#include "options/zoom_control.h"
#include "skins/parvel_button.h"
#include "skins/parvel_check_box.h"

#include <QSize>

namespace lumora {

class ZoomPanel : public OptionsPanel {
public:
    static constexpr int kZoomInId = 2009;
    static constexpr int kZoomOutId = 2010;
    static constexpr int kDefaultId = 2011;
    static constexpr int kFaceId = 2012;
    static constexpr int kLocatorId = 2013;
    static constexpr QSize kMinimumSize{206, 73};
    static constexpr char kFaceFailedText[] = "Couldn't initialize face detection/tracking library!";

    ZoomPanel(EffectChain& chain, QWidget* parent);

    void Enable(bool enabled);
    // What the panel shows, "Zoom: x1.00".
    QString ZoomText() const { return zoom_.Text(face_.IsChecked()); }

protected:
    void SkinControls(const Skin& skin) override;
    void PaintContents(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Command(int id);
    void ToggleFaceTracking();
    void EnableLocator() { locator_.Enable(enabled_ && face_.IsChecked()); }

    ZoomControl zoom_;
    ParvelButton in_;
    ParvelButton out_;
    ParvelButton default_;
    ParvelCheckBox face_;
    ParvelCheckBox locator_;
    bool enabled_ = true;
    SkinFont font_;
    SkinColour textColour_ = 0;
};

}  // namespace lumora
