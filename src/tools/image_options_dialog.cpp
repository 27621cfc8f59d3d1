#include "tools/image_options_dialog.h"

#include "tools/source_output_tables.h"

#include <QComboBox>

namespace lumora {

ImageOptionsDialog::ImageOptionsDialog(int width, int height, int framesPerSecond, QWidget* parent)
        : TemplateDialog({"Video source options", 142, 71}, parent),
          width_(width),
          height_(height),
          rate_(framesPerSecond) {
    AddLabel(kNoId, {6, 6, 60, 12}, "Output resolution:");
    AddLabel(kNoId, {6, 24, 62, 12}, "Output frame rate:");
    sizes_ = Place(new QComboBox(this), kIdSizes, {72, 6, 66, 12});
    rates_ = Place(new QComboBox(this), kIdRates, {72, 24, 66, 12});
    FillOutputLists(*sizes_, *rates_, width, height, framesPerSecond);
    AddDefaultPushButton(kIdOk, {18, 48, 45, 14}, "OK");
    AddPushButton(kIdCancel, {78, 48, 45, 14}, "Cancel");
}

void ImageOptionsDialog::OnCommand(int id) {
    if (id == kIdCancel) EndDialog(kIdCancel);
    if (id != kIdOk || sizes_->currentIndex() < 0 || rates_->currentIndex() < 0) return;
    const OutputSize& size = kOutputSizes[static_cast<std::size_t>(sizes_->currentIndex())];
    width_ = size.width;
    height_ = size.height;
    rate_ = kOutputRates[static_cast<std::size_t>(rates_->currentIndex())];
    EndDialog(kIdOk);
}

}  // namespace lumora
