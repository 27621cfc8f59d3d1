// CameraCatalogue: the cameras the picture-in-picture effect may take its inset from —
// what it needs of the program's capture device list, and no more. The session hands the
// effect one over its device list (session/device_camera_catalogue.h).
//
// Thread: user-interface thread. Lifetime: borrowed; it must outlive every Start of the
// effect and every options dialog shown for it.
#pragma once

#include <gst/gst.h>

#include <optional>
#include <string>

namespace lumora {

class CameraCatalogue {
public:
    // Entries in the device list's order; an index names the same device everywhere.
    virtual int CameraCount() const = 0;

    // The name the options dialog shows for entry `index`; nothing for an entry that cannot
    // serve as the second camera (no device path, the virtual camera itself, out of range).
    virtual std::optional<std::string> CameraName(int index) const = 0;

    // A new source element for entry `index`: a floating reference the caller owns, or null
    // when the device cannot be opened (see CaptureDeviceList::OpenCaptureFilter).
    virtual GstElement* MakeCameraSource(int index) const = 0;

protected:
    ~CameraCatalogue() = default;
};

}  // namespace lumora
