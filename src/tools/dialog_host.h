// DialogHost: the dialogs the media layers ask for, shown modally over the owner window:
// the capture filter's page (DeviceControlsDialog), the capture pin's page
// (PinFormatDialog), a compressor's configuration (CompressorDialog) and the
// picture-in-picture options (PipOptionsDialog). The property pages open 30 pixels right
// of and below the owner's top-left corner.
//
// Thread: user-interface thread, with a QApplication. Lifetime: the owner (may be null) is
// held weakly, so the host may outlive it.
#pragma once

#include "effects/pip_options_host.h"
#include "video/property_page_host.h"

#include <QPointer>
#include <QWidget>

namespace lumora {

class DialogHost final : public PropertyPageHost, public PipOptionsHost {
public:
    explicit DialogHost(QWidget* owner = nullptr) : owner_(owner) {}

    void ShowDeviceControls(DeviceControls& controls) override;
    int ChoosePinFormat(const PinFormatList& formats, int current) override;
    bool ConfigureCompressor(CompressorList& list, int index) override;
    // A null `ownerWindow` gives the dialog this host's owner.
    bool EditPipOptions(const CameraCatalogue* cameras, PipSettings& settings, PipCustomColours& colours,
                        void* ownerWindow) override;

private:
    void PlacePage(QWidget& page) const;

    QPointer<QWidget> owner_;
};

}  // namespace lumora
