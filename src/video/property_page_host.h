// PropertyPageHost: the dialogs a source's property pages and a compressor's configuration
// need, asked for by the video code, which draws no window itself. The windowed program
// gives an implementation whose dialogs its main window owns (tools/dialog_host.h); a
// front end without windows passes none, and the pages then answer "not available"
// unless only asked whether they exist.
//
// Thread: user-interface thread. Lifetime: borrowed for the one call it is passed to.
#pragma once

namespace lumora {

class CompressorList;
class DeviceControls;
class PinFormatList;

class PropertyPageHost {
public:
    // The capture filter's page: every control of the device, each change sent to it at
    // once; returns when the user closes the page.
    virtual void ShowDeviceControls(DeviceControls& controls) = 0;

    // The capture pin's page: the user chooses one of `formats` (`current` selected first,
    // -1 for none). The index chosen with OK, or -1.
    virtual int ChoosePinFormat(const PinFormatList& formats, int current) = 0;

    // The configuration dialog of the compressor at `index`; the settings chosen with OK
    // are kept in `list`. False when the encoder is gone or has nothing to configure.
    virtual bool ConfigureCompressor(CompressorList& list, int index) = 0;

protected:
    ~PropertyPageHost() = default;
};

}  // namespace lumora
