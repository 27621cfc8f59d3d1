// PacketOutput: where `lumora-cli run --output` sends the processed frames, one packet
// (40-byte header and frame) per frame:
//
//   vcam    the "Lumora Capture" device among the capture devices, opened as the program
//           opens it (VirtualCameraLink: a v4l2loopback device through the adapter, or a
//           extra device's packets: file, or the PipeWire camera when it stands in for the
//           device). A packet it does not take is dropped, as in the program.
//   pipewire  the PipeWire camera, whatever the capture devices and the settings say.
//   none    nowhere; every frame counts as delivered.
//   <path>  a file, started empty, or a FIFO. Opening a FIFO waits until a reader has it
//           open; a reader too slow to take a packet in a frame's time costs that packet
//           (dropped), unless the output is patient. A write that fails — a full disk,
//           /dev/full, a reader that went away — is a failure.
//
// Thread: user-interface thread. Lifetime: owns the file it opens; the virtual camera link
// is the session's, borrowed until the output's end.
#pragma once

#include "video/packet_file_sink.h"
#include "video/virtual_camera_link.h"

#include <functional>
#include <memory>
#include <string>

namespace lumora {
class CaptureDeviceList;
class FrameStore;
}  // namespace lumora

namespace lumora::cli {

class PacketOutput {
public:
    // vcam or pipewire: an output that is a virtual camera, not a path.
    static bool IsVirtualCamera(const std::string& output) { return output == "vcam" || output == "pipewire"; }

    enum class Result { kWritten, kDropped, kFailed, kRepeat };

    // Opens `output` ("vcam", "pipewire", "none" or a path). False, with Failure() saying what and
    // why, when it cannot be opened. vcam opens `link` on the device named in `devices`.
    bool Open(const std::string& output, VirtualCameraLink& link, const CaptureDeviceList& devices);

    // Whether `output` names an existing FIFO (opening it then waits for a reader).
    static bool IsFifo(const std::string& output);

    // A FIFO then waits for its reader for as long as `keepWaiting` answers true.
    void SetPatience(std::function<bool()> keepWaiting);

    // Sends the store's current frame (a black one while it holds none). kRepeat, with
    // nothing written, when that frame went out already (a newer one replaced the frame
    // this call was for, and the store counts that one as overwritten).
    Result Write(FrameStore& store);

    // The message for the last failure: the path and the system's reason.
    const std::string& Failure() const { return failure_; }

private:
    bool OpenVirtualCamera(VirtualCameraLink& link, const CaptureDeviceList& devices);
    bool OpenPipeWireCamera(VirtualCameraLink& link);
    bool OpenPath(const std::string& path);

    std::string path_;
    bool discard_ = false;
    VirtualCameraLink* link_ = nullptr;  // vcam: the open link
    std::unique_ptr<PacketFileSink> file_;
    std::string failure_;
};

}  // namespace lumora::cli
