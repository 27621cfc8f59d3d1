#include "jpeg_writer.h"

#include <jpeglib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace lumora::zimage {

bool JpegWriter::Save(const char* path, const ConstFrameView& frame) {
    if (path == nullptr || *path == '\0') return false;
    std::vector<std::uint8_t> bytes;
    return Encode(frame, bytes) && WriteAtomically(path, bytes);
}

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
// back into Compress. Compress keeps every object with a destructor outside, so the jump
// skips none.
struct Compression {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf failed{};
    unsigned char* buffer = nullptr;  // libjpeg's output, freed with free()
    unsigned long size = 0;
};

[[noreturn]] void OnError(j_common_ptr info) {
    Compression* compression = static_cast<Compression*>(info->client_data);
    std::longjmp(compression->failed, 1);
}

// Rows are written top row first, read from the bottom-up frame in reverse.
bool Compress(Compression& c, const ConstFrameView& frame, int quality) {
    c.info.err = jpeg_std_error(&c.errors);
    c.errors.error_exit = OnError;
    c.info.client_data = &c;
    if (setjmp(c.failed) != 0) {
        jpeg_destroy_compress(&c.info);
        return false;
    }
    jpeg_create_compress(&c.info);
    jpeg_mem_dest(&c.info, &c.buffer, &c.size);
    c.info.image_width = static_cast<JDIMENSION>(frame.width());
    c.info.image_height = static_cast<JDIMENSION>(frame.height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality, TRUE);
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        const std::size_t row = c.info.image_height - 1 - c.info.next_scanline;
        JSAMPROW pixels = const_cast<JSAMPROW>(frame.data() + row * frame.stride());
        jpeg_write_scanlines(&c.info, &pixels, 1);
    }
    jpeg_finish_compress(&c.info);
    jpeg_destroy_compress(&c.info);
    return true;
}

}  // namespace

bool JpegWriter::Encode(const ConstFrameView& frame, std::vector<std::uint8_t>& bytes) {
    Compression compression;
    const bool done = Compress(compression, frame, kQuality);
    if (done) bytes.assign(compression.buffer, compression.buffer + compression.size);
    std::free(compression.buffer);
    return done && !bytes.empty();
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
