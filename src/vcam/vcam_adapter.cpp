#include "vcam/vcam_adapter.h"

#include "frames/frame_packet.h"
#include "vcam/fd_loopback_device_io.h"
#include "vcam/output_device_probe.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumora {
namespace {

std::string ErrorText(int error) { return std::strerror(error); }

bool IsDeviceGone(int error) { return error == ENODEV || error == EIO || error == ENXIO; }

}  // namespace

std::unique_ptr<VcamAdapter> VcamAdapter::OpenDevice(const std::string& path, const VcamConfig& config,
                                                     std::string* error) {
    auto adapter = std::make_unique<VcamAdapter>(std::make_unique<FdLoopbackDeviceIo>(), config);
    if (!adapter->Open(path, error)) return nullptr;
    return adapter;
}

VcamAdapter::VcamAdapter(std::unique_ptr<LoopbackDeviceIo> io, VcamConfig config)
    : io_(std::move(io)),
      config_(config),
      period_(config.FramePeriod()),
      backoff_(config.reconnectFirstDelay, config.reconnectMaxDelay) {}

VcamAdapter::~VcamAdapter() { Close(); }

bool VcamAdapter::Open(const std::string& path, std::string* error) {
    std::unique_lock lock(mutex_);
    if (!OpenLocked(path)) {
        if (error) *error = stats_.lastError;
        return false;
    }
    lock.unlock();
    repeater_ = std::thread(&VcamAdapter::RepeaterLoop, this);
    return true;
}

bool VcamAdapter::OpenLocked(const std::string& path) {
    if (open_) return FailLocked("the virtual camera is already open");
    if (!config_.format.IsValid()) return FailLocked("unusable output size for the virtual camera");
    path_ = path;
    if (!ConnectLocked()) return false;
    // The black frame makes the device a capture device for chat programs right away.
    converter_->FillBlack();
    const long written = io_->Write(converter_->data(), converter_->size());
    if (written != static_cast<long>(converter_->size())) {
        io_->StreamOff();
        io_->Close();
        return FailLocked(written < 0 ? path_ + ": " + ErrorText(static_cast<int>(-written))
                                      : path_ + ": the device took only part of a frame");
    }
    lastWrite_ = Clock::now();
    open_ = true;
    connected_ = true;
    stopping_ = false;
    stats_.connected = true;
    backoff_.Reset();
    return true;
}

void VcamAdapter::Close() {
    {
        std::lock_guard lock(mutex_);
        if (!open_) return;
        stopping_ = true;
    }
    wake_.notify_all();
    if (repeater_.joinable()) repeater_.join();
    std::lock_guard lock(mutex_);
    if (connected_) io_->StreamOff();
    io_->Close();
    open_ = false;
    connected_ = false;
    stopping_ = false;
    stats_.connected = false;
}

bool VcamAdapter::WritePacket(const unsigned char* packet, std::size_t size) {
    std::string why;
    const auto header = FramePacket::Parse(packet, size, &why);
    std::lock_guard lock(mutex_);
    if (!header) {
        ++stats_.badPackets;
        stats_.lastError = "packet dropped: " + why;
        return false;
    }
    if (!open_) return false;
    converter_->Convert(packet + FramePacket::kHeaderSize, header->width, header->height);
    // While the device is lost the frame is only kept: it goes out after the reconnect.
    if (!connected_) return false;
    if (WriteFrameLocked() != WriteResult::kWritten) return false;
    ++stats_.framesWritten;
    return true;
}

bool VcamAdapter::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

std::optional<DeviceFrameFormat> VcamAdapter::Format() const {
    std::lock_guard lock(mutex_);
    if (!converter_) return std::nullopt;
    return converter_->format();
}

VcamStats VcamAdapter::Stats() const {
    std::lock_guard lock(mutex_);
    return stats_;
}

bool VcamAdapter::FailLocked(std::string why) {
    stats_.lastError = std::move(why);
    return false;
}

// Opens path_, checks it takes output, negotiates the format and starts streaming. On
// failure the handle is closed again and lastError says why.
bool VcamAdapter::ConnectLocked() {
    if (int failure = io_->Open(path_)) return FailLocked("cannot open " + path_ + ": " + ErrorText(failure));
    bool ok = false;
    v4l2_capability capability;
    if (int failure = io_->QueryCapabilities(&capability)) {
        FailLocked(path_ + " is not a V4L2 device: " + ErrorText(failure));
    } else if (!TakesVideoOutput(capability)) {
        FailLocked(path_ + " does not take video output");
    } else if (NegotiateLocked()) {
        io_->SetFrameInterval(1, static_cast<unsigned>(std::max(config_.framesPerSecond, 1)));  // advisory only
        const int failure = io_->StreamOn();
        ok = failure == 0 || FailLocked("cannot start streaming to " + path_ + ": " + ErrorText(failure));
    }
    if (!ok) io_->Close();
    return ok;
}

// Sets the configured format. A device locked to an earlier producer's format answers
// with that format (v4l2loopback 0.12) or EBUSY (0.13); either way we feed it the format it
// keeps when we can produce it. A device that does not know our fourcc falls back to
// another one (BGR4 on v4l2loopback), which we cannot produce: that is an error.
bool VcamAdapter::NegotiateLocked() {
    v4l2_format request = MakeOutputFormat(config_.format);
    int failure = io_->SetFormat(&request);
    if (failure == EBUSY) {
        std::memset(&request, 0, sizeof request);
        request.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
        failure = io_->GetFormat(&request);
    }
    if (failure) return FailLocked("cannot set the format of " + path_ + ": " + ErrorText(failure));
    const auto answered = ProducibleFormat(request.fmt.pix);
    if (!answered) {
        return FailLocked(path_ + " answered " + DescribeFormat(request.fmt.pix) + " when asked for " +
                          DescribeFormat(MakeOutputFormat(config_.format).fmt.pix));
    }
    if (!converter_ || converter_->format() != *answered) converter_ = std::make_unique<FrameConverter>(*answered);
    return true;
}

VcamAdapter::WriteResult VcamAdapter::WriteFrameLocked() {
    const auto size = static_cast<long>(converter_->size());
    const long written = io_->Write(converter_->data(), converter_->size());
    lastWrite_ = Clock::now();
    if (written == size) return WriteResult::kWritten;
    if (written >= 0) {
        ++stats_.shortWrites;
        stats_.lastError = "short write: " + std::to_string(written) + " of " + std::to_string(size) + " bytes";
        return WriteResult::kShort;
    }
    const int error = static_cast<int>(-written);
    if (IsDeviceGone(error)) {
        LoseDeviceLocked(error);
        return WriteResult::kLost;
    }
    ++stats_.writeErrors;
    stats_.lastError = "write failed: " + ErrorText(error);
    return WriteResult::kFailed;
}

void VcamAdapter::LoseDeviceLocked(int error) {
    io_->Close();
    connected_ = false;
    stats_.connected = false;
    ++stats_.deviceLosses;
    stats_.lastError = path_ + " lost: " + ErrorText(error);
    backoff_.Reset();
    reconnectAt_ = Clock::now() + backoff_.Next();
    wake_.notify_all();
}

void VcamAdapter::TryReconnectLocked() {
    if (!ConnectLocked()) {
        reconnectAt_ = Clock::now() + backoff_.Next();
        return;
    }
    connected_ = true;
    stats_.connected = true;
    ++stats_.reconnects;
    backoff_.Reset();
    WriteFrameLocked();  // the last frame, so clients see the picture again at once
}

void VcamAdapter::RepeaterLoop() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (connected_ && !config_.repeatWhileStalled) {
            wake_.wait(lock);  // only a loss or Close wakes us
            continue;
        }
        const auto due = connected_ ? lastWrite_ + period_ : reconnectAt_;
        if (Clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;  // look again: a packet, a loss or Close may have come meanwhile
        }
        if (!connected_) {
            TryReconnectLocked();
        } else if (WriteFrameLocked() == WriteResult::kWritten) {
            ++stats_.repeats;
        }
    }
}

}  // namespace lumora
