#include "vcam/y4m_writer.h"

#include <algorithm>

namespace lumora {
namespace {

int EvenUp(int value) { return std::max(2, (value + 1) & ~1); }

}  // namespace

Y4mWriter::Y4mWriter(std::ostream& out, int width, int height, int framesPerSecond)
    : out_(out),
      converter_(DeviceFrameFormat{EvenUp(width), EvenUp(height), VcamPixelFormat::kI420}),
      framesPerSecond_(std::max(framesPerSecond, 1)) {}

bool Y4mWriter::WriteFrame(const std::uint8_t* pixels, int width, int height) {
    if (!converter_.Convert(pixels, width, height)) return false;
    if (!headerWritten_) {
        out_ << "YUV4MPEG2 W" << this->width() << " H" << this->height() << " F" << framesPerSecond_
             << ":1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
        headerWritten_ = true;
    }
    out_ << "FRAME\n";
    out_.write(reinterpret_cast<const char*>(converter_.data()), static_cast<std::streamsize>(converter_.size()));
    return static_cast<bool>(out_);
}

}  // namespace lumora
