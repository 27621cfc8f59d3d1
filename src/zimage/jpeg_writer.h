// JpegWriter: writes a frame to a JPEG file, quality 90, top row first as every viewer
// expects. The encoder is libjpeg-turbo. The file appears only when it is
// complete: the bytes go to a temporary file beside the target, which is then renamed over
// it, so a failed save leaves neither a partial file nor a damaged old one. (No fsync: a
// snapshot is not worth a disk flush; a crash of the machine itself may lose the newest
// one.) Stateless; safe on any thread.
#pragma once

#include "frame_view.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumora::zimage {

class JpegWriter {
public:
    static constexpr int kQuality = 90;

    // False when the encoder fails, memory runs out, or the folder is not writable; the
    // target is then left as it was. May throw std::bad_alloc.
    static bool Save(const char* path, const ConstFrameView& frame);

private:
    static bool Encode(const ConstFrameView& frame, std::vector<std::uint8_t>& bytes);
    // Writes `bytes` as the whole new contents of `path`, through a temporary file.
    static bool WriteAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);
    static bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes);
    // The permissions a newly created file gets: 0666 less the process's umask.
    static unsigned NewFileMode();
};

}  // namespace lumora::zimage
