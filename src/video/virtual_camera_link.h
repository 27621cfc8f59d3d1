// The open virtual camera ("Lumora Capture") and the capture devices found at start-up.
//
// A path naming a v4l2loopback output device is fed through the adapter that converts
// each packet for the device; "pipewire:lumora-capture" publishes the PipeWire camera
// (pipewire_packet_sink.h); any other path (a file, a FIFO, a test device's
// "packets:<path>") receives the packet bytes as they are.
//
// Thread: user-interface thread only. Lifetime: owned by the application; the device stays
// open from start-up until Close() or destruction.
#pragma once

#include "video/packet_sink.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lumora {

class CaptureDeviceList;

class VirtualCameraLink {
public:
    // How OpenListed went.
    enum class Opening { kOpened, kNotListed, kNotOpened };

    VirtualCameraLink();
    ~VirtualCameraLink();
    VirtualCameraLink(const VirtualCameraLink&) = delete;
    VirtualCameraLink& operator=(const VirtualCameraLink&) = delete;

    // Opens the device at `path`. False when a device is open already or the path cannot
    // be opened (nothing is open afterwards then).
    bool Open(const std::string& path);
    // Opens the device path of the first entry of `devices` named "Lumora Capture" that
    // has one (kVirtualCameraName). Path() then names the device tried.
    Opening OpenListed(const CaptureDeviceList& devices);
    // The path opened or tried last; "" before.
    const std::string& Path() const { return path_; }
    void Close();
    bool IsOpen() const { return sink_ != nullptr; }
    // How many programs take the PipeWire camera's frames now; -1 when nothing open can
    // tell (no PipeWire camera published).
    int Consumers() const;

    // Fills the link's header fields (magic, payload size, marker) of `packet`, which holds
    // 40 + payloadSize bytes with the frame's fields filled, and writes it whole. False,
    // writing nothing, when no device is open or the packet is absent.
    bool WritePacket(unsigned char* packet, std::uint32_t payloadSize);

private:
    std::unique_ptr<PacketSink> sink_;
    std::string path_;
};

}  // namespace lumora
