#include "session/virtual_camera_startup.h"

#include "platform/message_box.h"
#include "video/capture_device_list.h"
#include "video/virtual_camera_link.h"

namespace lumora {
namespace {

constexpr const char kNoDevices[] = "There are no available video capture devices in the system!";
constexpr const char kNoVirtualCamera[] =
    "Error initializing virtual web-camera device (Parvel)! Only preview functions will be "
    "available. Would you like to continue?";

}  // namespace

StartupOutcome ConnectVirtualCamera(CaptureDeviceList& devices, VirtualCameraLink& link) {
    if (!devices.EnumerateCaptureDevices() || devices.Count() == 0) {
        ShowAppMessage(kNoDevices, mb::kIconWarning);
    }
    if (link.OpenListed(devices) == VirtualCameraLink::Opening::kOpened) return StartupOutcome::kContinue;
    const int answer = ShowAppMessage(kNoVirtualCamera, mb::kIconWarning | mb::kYesNo);
    return answer == id::kYes ? StartupOutcome::kContinue : StartupOutcome::kExit;
}

}  // namespace lumora
