#include "tools/dialog_host.h"

#include "tools/compressor_dialog.h"
#include "tools/device_controls_dialog.h"
#include "tools/pin_format_dialog.h"
#include "tools/pip_options_dialog.h"

namespace lumora {
namespace {

constexpr QPoint kPropertyPagePosition{30, 30};

}  // namespace

void DialogHost::PlacePage(QWidget& page) const {
    page.move(owner_ ? owner_->mapToGlobal(kPropertyPagePosition) : kPropertyPagePosition);
}

void DialogHost::ShowDeviceControls(DeviceControls& controls) {
    DeviceControlsDialog page(controls, owner_);
    PlacePage(page);
    page.exec();
}

int DialogHost::ChoosePinFormat(const PinFormatList& formats, int current) {
    PinFormatDialog page(formats, current, owner_);
    PlacePage(page);
    return page.exec() == QDialog::Accepted ? page.Chosen() : -1;
}

bool DialogHost::ConfigureCompressor(CompressorList& list, int index) {
    return ShowCompressorDialog(list, index, owner_);
}

bool DialogHost::EditPipOptions(const CameraCatalogue* cameras, PipSettings& settings, PipCustomColours& colours,
                                void* ownerWindow) {
    QWidget* owner = ownerWindow != nullptr ? static_cast<QWidget*>(ownerWindow) : owner_.data();
    PipOptionsDialog dialog(cameras, settings, colours, owner);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    colours = dialog.customColours();
    if (accepted) settings = dialog.settings();
    return accepted;
}

}  // namespace lumora
