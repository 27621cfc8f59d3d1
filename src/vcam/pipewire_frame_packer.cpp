#include "vcam/pipewire_frame_packer.h"

#include <opencv2/imgproc.hpp>

#include <cstring>

namespace lumora {
namespace {

DeviceFrameFormat ConverterFormat(const PipeWireVideoFormat& format) {
    const bool planar = format.layout == PipeWireLayout::kI420 || format.layout == PipeWireLayout::kNv12;
    return {format.width, format.height, planar ? VcamPixelFormat::kI420 : VcamPixelFormat::kYuyv};
}

// I420's two chroma planes woven into NV12's one.
void InterleaveChroma(const std::uint8_t* u, const std::uint8_t* v, std::size_t count, std::uint8_t* uv) {
    for (std::size_t i = 0; i < count; ++i) {
        uv[2 * i] = u[i];
        uv[2 * i + 1] = v[i];
    }
}

}  // namespace

PipeWireFramePacker::PipeWireFramePacker(const PipeWireVideoFormat& format)
    : format_(format), converter_(ConverterFormat(format)) {
    if (format_.layout == PipeWireLayout::kNv12 || format_.layout == PipeWireLayout::kBgrx) {
        derived_.resize(format_.FrameBytes());
    }
    FillBlack();
}

void PipeWireFramePacker::FillBlack() {
    converter_.FillBlack();
    Derive();
}

bool PipeWireFramePacker::Convert(const std::uint8_t* pixels, int width, int height) {
    if (!converter_.Convert(pixels, width, height)) return false;
    Derive();
    return true;
}

void PipeWireFramePacker::Derive() {
    const std::size_t lumaBytes = static_cast<std::size_t>(format_.width) * static_cast<std::size_t>(format_.height);
    const std::uint8_t* source = converter_.data();
    if (format_.layout == PipeWireLayout::kNv12) {
        const std::size_t chromaBytes = lumaBytes / 4;
        std::memcpy(derived_.data(), source, lumaBytes);
        InterleaveChroma(source + lumaBytes, source + lumaBytes + chromaBytes, chromaBytes,
                         derived_.data() + lumaBytes);
    } else if (format_.layout == PipeWireLayout::kBgrx) {
        const cv::Mat yuyv(format_.height, format_.width, CV_8UC2, const_cast<std::uint8_t*>(source));
        cv::Mat bgrx(format_.height, format_.width, CV_8UC4, derived_.data());
        cv::cvtColor(yuyv, bgrx, cv::COLOR_YUV2BGRA_YUY2);
    }
}

const std::uint8_t* PipeWireFramePacker::Data() const {
    return derived_.empty() ? converter_.data() : derived_.data();
}

std::size_t PipeWireFramePacker::CopyTo(std::uint8_t* target, std::size_t capacity) const {
    const std::size_t bytes = format_.FrameBytes();
    if (target == nullptr || capacity < bytes) return 0;
    std::memcpy(target, Data(), bytes);
    return bytes;
}

}  // namespace lumora
