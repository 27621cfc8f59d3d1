// DeviceCameraCatalogue: the capture device list as the picture-in-picture effect sees it
// (CameraCatalogue): every entry by its index, named by its friendly name (else its path);
// entries without a path and the virtual camera itself are no camera to choose.
//
// Thread: user-interface thread. Lifetime: borrows the list, which must outlive it.
#pragma once

#include "effects/camera_catalogue.h"

namespace lumora {

class CaptureDeviceList;

class DeviceCameraCatalogue final : public CameraCatalogue {
public:
    explicit DeviceCameraCatalogue(const CaptureDeviceList& devices) : devices_(devices) {}

    int CameraCount() const override;
    std::optional<std::string> CameraName(int index) const override;
    GstElement* MakeCameraSource(int index) const override;

private:
    const CaptureDeviceList& devices_;
};

}  // namespace lumora
