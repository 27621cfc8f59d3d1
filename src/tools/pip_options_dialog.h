// PipOptionsDialog: "Picture-in-picture options", the modal dialog that edits the
// picture-in-picture settings: the second camera, the corner, the margin, the size, the
// proportions switch and the border with its colour. Controls are placed on a 202 x 141
// dialog-unit layout and carry their ids as objectName ("1026").
//
// OK without a camera chosen says "You should select video source device!" and keeps the
// dialog open. The colour chooser starts from the border colour and keeps its sixteen
// custom colours in the dialog, which hands them back for the next time.
//
// Thread: user-interface thread. The camera catalogue is borrowed for the dialog's lifetime.
#pragma once

#include "effects/pip_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;

namespace lumora {

class CameraCatalogue;

class PipOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Control ids, each control's objectName.
    enum : int {
        kIdOk = 1,
        kIdCancel = 2,
        kIdDevice = 1026,
        kIdPosition = 1027,
        kIdMargin = 1028,
        kIdDrawBorder = 1029,
        kIdSelectColour = 1030,
        kIdSwatch = 1031,
        kIdSize = 1032,
        kIdProportions = 1033,
    };

    // `cameras` may be null: no camera to offer.
    PipOptionsDialog(const CameraCatalogue* cameras, const PipSettings& settings, const PipCustomColours& colours,
                     QWidget* parent = nullptr);

    // The settings as accepted with OK (before that, as given).
    const PipSettings& settings() const { return settings_; }
    const PipCustomColours& customColours() const { return customColours_; }
    std::uint32_t borderColour() const { return borderColour_; }

private:
    void Accept();
    void SelectColour();
    void PaintSwatch();

    PipSettings settings_;
    PipCustomColours customColours_;
    std::uint32_t borderColour_;
    QComboBox* device_;
    QComboBox* position_;
    QSlider* margin_;
    QSlider* size_;
    QCheckBox* proportions_;
    QCheckBox* drawBorder_;
    QLabel* swatch_;
};

}  // namespace lumora
