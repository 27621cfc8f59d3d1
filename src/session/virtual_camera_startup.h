// The windowed program's start-up steps that find and open the virtual camera over a
// Session's device list and link: enumerate the capture devices, open the one named
// "Lumora Capture", and when that fails ask whether to go on without it. (lumora-cli opens
// it only for its vcam output, with messages of its own.)
//
// Thread: user-interface thread (it shows message boxes).
#pragma once

namespace lumora {

class CaptureDeviceList;
class VirtualCameraLink;

enum class StartupOutcome {
    kContinue,  // go on; the link is open, or the user chose to run without it
    kExit,      // the user declined to run without the virtual camera: exit with code 0
};

// Refills `devices`, then opens the virtual camera through `link`.
// Messages: "There are no available video capture devices in the system!" (0x30) when
// nothing is found; the Yes/No question (0x34) when the virtual camera is missing or does
// not open. Any answer but Yes gives kExit; with Yes every frame write is skipped.
StartupOutcome ConnectVirtualCamera(CaptureDeviceList& devices, VirtualCameraLink& link);

}  // namespace lumora
