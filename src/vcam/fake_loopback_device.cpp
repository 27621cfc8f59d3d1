#include "vcam/fake_loopback_device.h"

#include "vcam/device_frame_format.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace lumora {

namespace {

constexpr std::uint32_t kMinWidth = 48;
constexpr std::uint32_t kMinHeight = 32;
constexpr std::uint32_t kMaxSize = 8192;
constexpr std::uint32_t kPageSize = 4096;

struct FormatShape {
    std::uint32_t bytesPerLine;
    std::uint32_t sizeImage;
};

FormatShape ShapeOf(std::uint32_t fourcc, std::uint32_t width, std::uint32_t height) {
    switch (fourcc) {
    case V4L2_PIX_FMT_BGR32: return {width * 4, width * 4 * height};
    case V4L2_PIX_FMT_RGB24:
    case V4L2_PIX_FMT_BGR24: return {width * 3, width * 3 * height};
    case V4L2_PIX_FMT_YUYV:
    case V4L2_PIX_FMT_UYVY: return {width * 2, width * 2 * height};
    case V4L2_PIX_FMT_YUV420:
    case V4L2_PIX_FMT_NV12: return {width, width * height * 3 / 2};
    default: return {0, width * height * 2};
    }
}

}  // namespace

struct FakeLoopbackDevice::State {
    explicit State(Options o) : options(std::move(o)) { ResetDevice(); }

    void ResetDevice() {
        std::memset(&format, 0, sizeof format);
        format.width = 640;
        format.height = 480;
        format.pixelformat = V4L2_PIX_FMT_YUYV;
        format.field = V4L2_FIELD_NONE;
        format.bytesperline = 1280;
        format.sizeimage = 640 * 480 * 2;
        format.colorspace = V4L2_COLORSPACE_SRGB;
        producer = 0;
        streaming = false;
    }

    // Is a call on the handle opened at `handleGeneration` still reaching the device?
    int Reachable(std::uint64_t handleGeneration) const {
        if (detachedError != 0) return detachedError;
        return handleGeneration == generation ? 0 : ENODEV;
    }

    void Log(std::string entry) { calls.push_back(std::move(entry)); }

    Options options;
    mutable std::mutex mutex;
    mutable std::condition_variable framesChanged;

    std::uint64_t generation = 1;
    int detachedError = 0;
    int nextHandleId = 1;
    int openHandles = 0;

    v4l2_pix_format format{};
    int producer = 0;  // the handle that started producing, 0 while none has
    bool streaming = false;
    int streamOffs = 0;

    std::size_t truncateTo = 0;
    int truncatedWritesLeft = 0;

    std::vector<std::string> calls;
    std::vector<Frame> frames;
    std::vector<Clock::time_point> openAttempts;
};

namespace {

class FakeHandle final : public LoopbackDeviceIo {
public:
    explicit FakeHandle(std::shared_ptr<FakeLoopbackDevice::State> state) : state_(std::move(state)) {}
    ~FakeHandle() override { Close(); }

    int Open(const std::string& path) override {
        std::lock_guard lock(state_->mutex);
        state_->openAttempts.push_back(FakeLoopbackDevice::Clock::now());
        if (open_) return EBUSY;
        if (state_->detachedError != 0 || path != state_->options.path) return ENOENT;
        open_ = true;
        id_ = state_->nextHandleId++;
        generation_ = state_->generation;
        ++state_->openHandles;
        state_->Log("open");
        return 0;
    }

    void Close() override {
        std::lock_guard lock(state_->mutex);
        if (!open_) return;
        open_ = false;
        --state_->openHandles;
        state_->Log("close");
        if (generation_ == state_->generation && state_->producer == id_) {
            state_->producer = 0;
            state_->streaming = false;
        }
    }

    bool IsOpen() const override {
        std::lock_guard lock(state_->mutex);
        return open_;
    }

    int QueryCapabilities(v4l2_capability* capability) override {
        std::lock_guard lock(state_->mutex);
        if (int error = Check("QUERYCAP")) return error;
        std::memset(capability, 0, sizeof *capability);
        CopyText(capability->driver, sizeof capability->driver, "v4l2 loopback");
        CopyText(capability->card, sizeof capability->card, state_->options.card);
        CopyText(capability->bus_info, sizeof capability->bus_info, "platform:v4l2loopback-007");
        std::uint32_t caps = V4L2_CAP_STREAMING | V4L2_CAP_READWRITE;
        if (!state_->options.exclusiveCaps) {
            caps |= V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_VIDEO_CAPTURE;
        } else {
            caps |= state_->producer != 0 ? V4L2_CAP_VIDEO_CAPTURE : V4L2_CAP_VIDEO_OUTPUT;
        }
        capability->device_caps = caps;
        capability->capabilities = caps | V4L2_CAP_DEVICE_CAPS;
        return 0;
    }

    int GetFormat(v4l2_format* format) override {
        std::lock_guard lock(state_->mutex);
        if (int error = Check("G_FMT")) return error;
        if (format->type != V4L2_BUF_TYPE_VIDEO_OUTPUT && format->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return EINVAL;
        format->fmt.pix = state_->format;
        return 0;
    }

    int SetFormat(v4l2_format* format) override {
        std::lock_guard lock(state_->mutex);
        const v4l2_pix_format& asked = format->fmt.pix;
        if (int error = Check("S_FMT " + DescribeFormat(asked))) return error;
        if (format->type != V4L2_BUF_TYPE_VIDEO_OUTPUT) return EINVAL;
        if (state_->producer != 0) {
            if (state_->options.version == LoopbackVersion::k0_13) return EBUSY;
            format->fmt.pix = state_->format;  // 0.12.7: "success", old format kept
            return 0;
        }
        state_->format = Negotiate(asked);
        format->fmt.pix = state_->format;
        return 0;
    }

    int SetFrameInterval(unsigned numerator, unsigned denominator) override {
        std::lock_guard lock(state_->mutex);
        return Check("S_PARM " + std::to_string(numerator) + "/" + std::to_string(denominator));
    }

    int StreamOn() override {
        std::lock_guard lock(state_->mutex);
        if (int error = Check("STREAMON")) return error;
        state_->producer = id_;
        state_->streaming = true;
        return 0;
    }

    int StreamOff() override {
        std::lock_guard lock(state_->mutex);
        if (int error = Check("STREAMOFF")) return error;
        state_->streaming = false;
        ++state_->streamOffs;
        return 0;
    }

    long Write(const void* data, std::size_t size) override {
        std::lock_guard lock(state_->mutex);
        if (int error = Check("write " + std::to_string(size))) return -error;
        std::size_t accepted = size;
        if (state_->truncatedWritesLeft > 0) {
            --state_->truncatedWritesLeft;
            accepted = std::min(size, state_->truncateTo);
        }
        if (state_->producer == 0) state_->producer = id_;
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        state_->frames.push_back({std::vector<std::uint8_t>(bytes, bytes + accepted), FakeLoopbackDevice::Clock::now()});
        state_->framesChanged.notify_all();
        return static_cast<long>(accepted);
    }

private:
    // Logs the call and answers the error it meets, 0 when the device takes it.
    int Check(std::string call) {
        if (!open_) return EBADF;
        state_->Log(std::move(call));
        return state_->Reachable(generation_);
    }

    v4l2_pix_format Negotiate(const v4l2_pix_format& asked) const {
        const auto& known = state_->options.fourccs;
        v4l2_pix_format pix{};
        pix.pixelformat = std::find(known.begin(), known.end(), asked.pixelformat) != known.end()
                              ? asked.pixelformat
                              : known.front();
        pix.width = asked.width ? std::clamp(asked.width, kMinWidth, kMaxSize) : 640;
        pix.height = asked.height ? std::clamp(asked.height, kMinHeight, kMaxSize) : 480;
        pix.field = V4L2_FIELD_NONE;
        const FormatShape shape = ShapeOf(pix.pixelformat, pix.width, pix.height);
        pix.bytesperline = shape.bytesPerLine;
        pix.sizeimage = shape.sizeImage;
        if (state_->options.version == LoopbackVersion::k0_12_7) {
            pix.sizeimage = (pix.sizeimage + kPageSize - 1) / kPageSize * kPageSize;
        }
        pix.colorspace = V4L2_COLORSPACE_SRGB;
        return pix;
    }

    static void CopyText(std::uint8_t* field, std::size_t size, const std::string& text) {
        std::memcpy(field, text.data(), std::min(size - 1, text.size()));
    }

    std::shared_ptr<FakeLoopbackDevice::State> state_;
    bool open_ = false;
    int id_ = 0;
    std::uint64_t generation_ = 0;
};

}  // namespace

FakeLoopbackDevice::FakeLoopbackDevice() : FakeLoopbackDevice(Options{}) {}

FakeLoopbackDevice::FakeLoopbackDevice(Options options)
    : state_(std::make_shared<State>(std::move(options))) {}

FakeLoopbackDevice::~FakeLoopbackDevice() = default;

const std::string& FakeLoopbackDevice::path() const { return state_->options.path; }

std::unique_ptr<LoopbackDeviceIo> FakeLoopbackDevice::NewHandle() {
    return std::make_unique<FakeHandle>(state_);
}

void FakeLoopbackDevice::Detach(int error) {
    std::lock_guard lock(state_->mutex);
    state_->detachedError = error;
}

void FakeLoopbackDevice::Reattach() {
    std::lock_guard lock(state_->mutex);
    state_->detachedError = 0;
    ++state_->generation;  // handles opened before stay dead
    state_->ResetDevice();
}

void FakeLoopbackDevice::TruncateWrites(std::size_t maxBytes, int count) {
    std::lock_guard lock(state_->mutex);
    state_->truncateTo = maxBytes;
    state_->truncatedWritesLeft = count;
}

std::vector<std::string> FakeLoopbackDevice::Calls() const {
    std::lock_guard lock(state_->mutex);
    return state_->calls;
}

std::vector<FakeLoopbackDevice::Frame> FakeLoopbackDevice::Frames() const {
    std::lock_guard lock(state_->mutex);
    return state_->frames;
}

std::size_t FakeLoopbackDevice::FrameCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->frames.size();
}

bool FakeLoopbackDevice::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(state_->mutex);
    return state_->framesChanged.wait_for(lock, timeout, [&] { return state_->frames.size() >= count; });
}

std::vector<FakeLoopbackDevice::Clock::time_point> FakeLoopbackDevice::OpenAttempts() const {
    std::lock_guard lock(state_->mutex);
    return state_->openAttempts;
}

v4l2_pix_format FakeLoopbackDevice::Format() const {
    std::lock_guard lock(state_->mutex);
    return state_->format;
}

bool FakeLoopbackDevice::Streaming() const {
    std::lock_guard lock(state_->mutex);
    return state_->streaming;
}

int FakeLoopbackDevice::StreamOffCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->streamOffs;
}

int FakeLoopbackDevice::OpenHandles() const {
    std::lock_guard lock(state_->mutex);
    return state_->openHandles;
}

}  // namespace lumora
