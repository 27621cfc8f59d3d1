#include "vcam/y4m_writer.h"

#include <algorithm>
#include <string>

namespace lumora {
namespace {

int EvenUp(int value) { return std::max(2, (value + 1) & ~1); }

constexpr char kFrameMark[] = "FRAME\n";

}  // namespace

Y4mWriter::Y4mWriter(FileOutput& out, int width, int height, int framesPerSecond)
    : out_(out),
      converter_(DeviceFrameFormat{EvenUp(width), EvenUp(height), VcamPixelFormat::kI420}),
      framesPerSecond_(std::max(framesPerSecond, 1)) {}

bool Y4mWriter::WriteFrame(const std::uint8_t* pixels, int width, int height) {
    if (!converter_.Convert(pixels, width, height)) return false;
    if (!headerWritten_) {
        const std::string header = "YUV4MPEG2 W" + std::to_string(this->width()) + " H" +
                                   std::to_string(this->height()) + " F" + std::to_string(framesPerSecond_) +
                                   ":1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
        if (!out_.Write(header.data(), header.size())) return false;
        headerWritten_ = true;
    }
    return out_.Write(kFrameMark, sizeof kFrameMark - 1) && out_.Write(converter_.data(), converter_.size());
}

}  // namespace lumora
