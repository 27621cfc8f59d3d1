// PipOptionsHost: the options dialog of the picture-in-picture effect, asked for by the
// effect (its Start without a chosen camera, and ShowOptions), which draws no window
// itself. The windowed program gives the dialog (tools/dialog_host.h); without a host the
// effect can ask nothing: Start without a camera is cancelled and ShowOptions answers false.
//
// Thread: user-interface thread. Lifetime: borrowed by the effect; it must outlive it or be
// replaced first.
#pragma once

#include "effects/pip_settings.h"

namespace lumora {

class CameraCatalogue;

class PipOptionsHost {
public:
    // Lets the user edit `settings` in a modal dialog owned by `ownerWindow` (the effect's
    // Effect::ownerWindow, a QWidget* or null), the camera chosen among `cameras` (may be
    // null: none to offer). True, with `settings` changed, on OK. `colours` are the colour
    // chooser's custom colours, handed back whatever the answer.
    virtual bool EditPipOptions(const CameraCatalogue* cameras, PipSettings& settings, PipCustomColours& colours,
                                void* ownerWindow) = 0;

protected:
    ~PipOptionsHost() = default;
};

}  // namespace lumora
