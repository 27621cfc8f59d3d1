// VcamAdapter: the driver's side of Lumora's virtual camera. It takes the FramePackets the
// program writes and feeds a V4L2 output device (a v4l2loopback device labelled "Lumora
// Capture") with frames capture clients understand.
//
// Open: checks the device takes output, sets the output format once (VcamConfig; a device
// locked to another producer's YUYV or I420 format is fed in that one), sets
// the frame interval, STREAMON, and writes one black frame at once so chat programs list
// the device. The format is never changed again while streaming; packets of any size are
// scaled into it.
// WritePacket: checks the packet (a bad one is counted and dropped, never written),
// converts it (FrameConverter) and writes exactly one frame in one write(); a short write
// is an error.
// A thread of its own (started by Open, stopped and joined by Close) repeats the last
// frame at the device rate while packets stop coming, and reopens the device with a
// doubling back-off after it was lost (ENODEV, EIO, ENXIO), so the caller never waits for
// a reconnect.
// Close (and destruction): STREAMOFF and close.
//
// Ownership: owns its LoopbackDeviceIo and converter. Threads: WritePacket, IsOpen,
// Stats and Format may be called from any thread; device calls from WritePacket and the
// repeater are serialised by one lock. Open and Close belong to the owning thread. The
// adapter can be opened again after Close.
#pragma once

#include "vcam/frame_converter.h"
#include "vcam/loopback_device_io.h"
#include "vcam/reconnect_backoff.h"
#include "vcam/vcam_config.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace lumora {

struct VcamStats {
    std::uint64_t framesWritten = 0;  // packets converted and written
    std::uint64_t repeats = 0;        // writes of the last frame while none came
    std::uint64_t badPackets = 0;     // dropped: failed the packet check
    std::uint64_t shortWrites = 0;
    std::uint64_t writeErrors = 0;    // failed writes other than short ones and lost devices
    std::uint64_t deviceLosses = 0;
    std::uint64_t reconnects = 0;     // successful reopenings after a loss
    bool connected = false;
    std::string lastError;
};

class VcamAdapter {
public:
    // An adapter over the real device at `path`, opened; nothing when it cannot be opened
    // (the reason goes to `error`).
    static std::unique_ptr<VcamAdapter> OpenDevice(const std::string& path, const VcamConfig& config = {},
                                                   std::string* error = nullptr);

    // `io` reaches the device (FdLoopbackDeviceIo for a real one, a FakeLoopbackDevice
    // handle in tests).
    explicit VcamAdapter(std::unique_ptr<LoopbackDeviceIo> io, VcamConfig config = {});
    ~VcamAdapter();
    VcamAdapter(const VcamAdapter&) = delete;
    VcamAdapter& operator=(const VcamAdapter&) = delete;

    // False when the device cannot be opened or cannot take our frames; the reason goes
    // to `error` and to Stats().lastError.
    bool Open(const std::string& path, std::string* error = nullptr);
    // A whole packet: 40-byte header and payload. True when its frame went to the device.
    bool WritePacket(const unsigned char* packet, std::size_t size);
    void Close();

    bool IsOpen() const;
    // The format the device is fed with; nothing before the first successful Open.
    std::optional<DeviceFrameFormat> Format() const;
    VcamStats Stats() const;

private:
    using Clock = std::chrono::steady_clock;
    enum class WriteResult { kWritten, kShort, kLost, kFailed };

    bool OpenLocked(const std::string& path);
    bool ConnectLocked();
    bool NegotiateLocked();
    bool FailLocked(std::string why);
    WriteResult WriteFrameLocked();
    void LoseDeviceLocked(int error);
    void TryReconnectLocked();
    void RepeaterLoop();

    std::unique_ptr<LoopbackDeviceIo> io_;
    const VcamConfig config_;
    const Clock::duration period_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread repeater_;
    bool open_ = false;
    bool connected_ = false;
    bool stopping_ = false;
    std::string path_;
    std::unique_ptr<FrameConverter> converter_;  // holds the last frame
    Clock::time_point lastWrite_;
    Clock::time_point reconnectAt_;
    ReconnectBackoff backoff_;
    VcamStats stats_;
};

}  // namespace lumora
