#include "jpeg_writer.h"

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>

namespace lumora::zimage {

bool JpegWriter::Save(const char* path, const ConstFrameView& frame) {
    if (path == nullptr || *path == '\0') return false;
    std::vector<std::uint8_t> bytes;
    return Encode(frame, bytes) && WriteAtomically(path, bytes);
}

bool JpegWriter::Encode(const ConstFrameView& frame, std::vector<std::uint8_t>& bytes) {
    // The encoder wants the top row first; the frame keeps it last.
    cv::Mat upright;
    cv::flip(frame.AsMat(), upright, 0);
    return cv::imencode(".jpg", upright, bytes, {cv::IMWRITE_JPEG_QUALITY, kQuality});
}

bool JpegWriter::WriteAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) return false;
    std::string temporary = folder + "." + name + ".XXXXXX";

    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fchmod(fd, NewFileMode()) == 0 && WriteAll(fd, bytes);
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temporary.c_str());
    return ok;
}

bool JpegWriter::WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

unsigned JpegWriter::NewFileMode() {
    // umask() can only be read by setting it, which races with other threads; the kernel
    // reports it in /proc instead.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) return 0666u & ~static_cast<unsigned>(std::stoul(line.substr(6), nullptr, 8));
    }
    return 0644u;
}

}  // namespace lumora::zimage
