#include "options/zoom_panel.h"

#include "options/click_connection.h"
#include "platform/message_box.h"
#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {
namespace {

// The zoom text's box: (15, 5) to (95, 22).
const QRect kTextBox(QPoint(15, 5), QPoint(94, 21));

}  // namespace

ZoomPanel::ZoomPanel(EffectChain& chain, QWidget* parent)
        : OptionsPanel(Frame::kDark, "ParvelZoom", parent),
          zoom_(chain),
          in_(kZoomInId, this),
          out_(kZoomOutId, this),
          default_(kDefaultId, this),
          face_(kFaceId, "Enable face detection/tracking", this),
          locator_(kLocatorId, "Show face locator", this) {
    in_.SetText("Zoom in");
    out_.SetText("Zoom out");
    default_.SetText("Default zoom");
    locator_.SetCheck(true);
    for (ParvelButton* button : {&in_, &out_, &default_})
        OnClick(*button, this, [this, button] { Command(button->ChildId()); });
    for (ParvelCheckBox* box : {&face_, &locator_}) OnClick(*box, this, [this, box] { Command(box->ChildId()); });
    resize(kMinimumSize);
    EnableLocator();
}

void ZoomPanel::Enable(bool enabled) {
    enabled_ = enabled;
    for (ParvelButton* button : {&in_, &out_, &default_}) button->Enable(enabled);
    face_.Enable(enabled);
    EnableLocator();
}

void ZoomPanel::Command(int id) {
    switch (id) {
        case kZoomInId: zoom_.Step(+1); break;
        case kZoomOutId: zoom_.Step(-1); break;
        case kDefaultId: zoom_.Default(); break;
        case kFaceId: return ToggleFaceTracking();
        // The box has already turned itself over; the effect follows it.
        case kLocatorId: zoom_.SetShowLocator(locator_.IsChecked()); return;
        default: return;
    }
    update(kTextBox);
}

void ZoomPanel::ToggleFaceTracking() {
    const ZoomControl::FaceSwitch result = zoom_.ToggleFaceTracking();
    face_.SetCheck(result.active);
    EnableLocator();
    update(kTextBox);
    if (result.failed) ShowMessage(this, kFaceFailedText, mb::kIconWarning);
}

void ZoomPanel::SkinControls(const Skin& skin) {
    in_.SetBitmaps(skin.zoom.zoomIn);
    out_.SetBitmaps(skin.zoom.zoomOut);
    default_.SetBitmaps(skin.zoom.zoomDefault);
    for (ParvelButton* button : {&in_, &out_, &default_}) button->update();
    face_.ApplySkin(skin);
    locator_.ApplySkin(skin);
    font_ = skin.zoom.font;
    textColour_ = skin.zoom.textColour;
}

void ZoomPanel::PaintContents(QPainter& painter) {
    painter.setFont(CreateSkinFont(*painter.device(), font_));
    painter.setPen(ToQColor(textColour_));
    painter.drawText(kTextBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, ZoomText());
}

void ZoomPanel::resizeEvent(QResizeEvent* event) {
    const int w = width();
    in_.setGeometry(w - 106, 5, 16, 16);
    out_.setGeometry(w - 85, 5, 16, 16);
    default_.setGeometry(w - 64, 5, 54, 17);
    face_.setGeometry(15, 27, w - 20, CheckBoxModel::kHeight);
    locator_.setGeometry(15, 50, w - 20, CheckBoxModel::kHeight);
    OptionsPanel::resizeEvent(event);
}

}  // namespace lumora
