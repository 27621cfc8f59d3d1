// FakeLoopbackDevice: a simulated v4l2loopback device node for tests of everything that
// feeds the virtual camera (the adapter here, the link and end-to-end tests elsewhere).
// It behaves like the module in the two versions found on Debian systems:
//
//   - QUERYCAP answers driver "v4l2 loopback" and the card label. With exclusive_caps the
//     device announces only VIDEO_OUTPUT until a producer has started (STREAMON or a first
//     write) and only VIDEO_CAPTURE from then on, until the producer closes it.
//   - S_FMT on the output queue: an unknown fourcc falls back to the module's first
//     format, BGR4 (32-bit BGR); sizes are clamped; the colour space comes back as sRGB.
//     Once a producer has started the format is locked: 0.12.7 answers success but keeps
//     (and reports) the old format, 0.13 answers EBUSY. 0.12.7 also rounds sizeimage up to
//     whole pages.
//   - write() takes any byte count and hands it to the capture side as one frame.
//
// Faults on demand: Detach(ENODEV or EIO) makes every call on open handles fail with that
// error and opening fail with ENOENT (device unplugged, module unloaded); Reattach() brings
// a fresh device back at the same path. TruncateWrites() makes writes short.
//
// Everything is recorded: the calls in order (Calls()), every frame written, the open
// attempts with their times, the stream-offs.
//
// Threads: every member is safe to call from any thread; handles may be used on other
// threads than the device. Handles share the device state, so a handle may outlive the
// FakeLoopbackDevice object (its calls then still reach the recorded state).
#pragma once

#include "vcam/loopback_device_io.h"
#include "vcam/virtual_camera_name.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumora {

enum class LoopbackVersion { k0_12_7, k0_13 };

class FakeLoopbackDevice {
public:
    using Clock = std::chrono::steady_clock;

    struct Options {
        LoopbackVersion version = LoopbackVersion::k0_13;
        std::string path = "/dev/video7";
        std::string card = kVirtualCameraName;
        bool exclusiveCaps = true;
        // The formats the module knows, the fallback first.
        std::vector<std::uint32_t> fourccs = {V4L2_PIX_FMT_BGR32, V4L2_PIX_FMT_RGB24, V4L2_PIX_FMT_BGR24,
                                              V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_UYVY, V4L2_PIX_FMT_YUV420,
                                              V4L2_PIX_FMT_NV12, V4L2_PIX_FMT_MJPEG};
    };

    struct Frame {
        std::vector<std::uint8_t> bytes;
        Clock::time_point time;
    };

    FakeLoopbackDevice();
    explicit FakeLoopbackDevice(Options options);
    ~FakeLoopbackDevice();
    FakeLoopbackDevice(const FakeLoopbackDevice&) = delete;
    FakeLoopbackDevice& operator=(const FakeLoopbackDevice&) = delete;

    const std::string& path() const;

    // A closed handle; Open(path()) on it opens this device.
    std::unique_ptr<LoopbackDeviceIo> NewHandle();

    void Detach(int error);
    void Reattach();
    // The next `count` writes accept at most `maxBytes` bytes.
    void TruncateWrites(std::size_t maxBytes, int count = 1);

    // Call log entries: "open", "QUERYCAP", "G_FMT", "S_FMT YUYV 64x48" (as asked),
    // "S_PARM 1/30", "STREAMON", "write 6144", "STREAMOFF", "close".
    std::vector<std::string> Calls() const;
    std::vector<Frame> Frames() const;
    std::size_t FrameCount() const;
    // Waits until at least `count` frames were written; false on timeout.
    bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
    std::vector<Clock::time_point> OpenAttempts() const;
    v4l2_pix_format Format() const;
    bool Streaming() const;
    int StreamOffCount() const;
    int OpenHandles() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace lumora
