// Pictures of every kind, as the picture source and the effects load them. Whatever the
// bytes: loading answers a picture or nothing; a picture has a positive size, says that
// size, and holds exactly the bytes of a frame of that size (each of them is read here,
// so the sanitizers see any that was never written); a picture loaded scaled has exactly
// the size asked for.
// Covers: image_loader.cpp row_converter.cpp

#include "fuzz_check.h"

#include <lumora/zimage.h>

#include <QGuiApplication>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

volatile unsigned touched;  // keeps the reads below from being left out

// Sums every byte, so that each is read.
unsigned Touch(const lumora::Bitmap& bitmap) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < bitmap.size_bytes(); ++i) sum += bitmap.data()[i];
    return sum;
}

void CheckPicture(const lumora::Bitmap* bitmap, std::int32_t width, std::int32_t height) {
    FUZZ_CHECK(bitmap->width() == width && bitmap->height() == height, "a picture has the size it says");
    FUZZ_CHECK(width > 0 && height > 0, "a picture has a positive size");
    FUZZ_CHECK(bitmap->size_bytes() == ZImage_CalcImageSize(width, height, 24), "a picture is one frame");
    touched = Touch(*bitmap);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Qt finds its image plug-ins through the application object; no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "image_loader_fuzzer";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = ::memfd_create("picture", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0, "a memory file can be made");
    FUZZ_CHECK(::write(fd, data, size) == static_cast<ssize_t>(size), "the memory file takes the picture");
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    ZImageSize size_read{-1, -1};
    const std::unique_ptr<lumora::Bitmap> picture = ZImage_LoadImageToBitmap(path.c_str(), &size_read);
    if (picture) CheckPicture(picture.get(), size_read.width, size_read.height);

    // A small size from the input, so that scaling is tried at many.
    const std::int32_t width = size > 0 ? 1 + data[size - 1] % 48 : 1;
    const std::int32_t height = size > 1 ? 1 + data[size - 2] % 48 : 1;
    const std::unique_ptr<lumora::Bitmap> scaled = ZImage_LoadImageToBitmapSize(path.c_str(), width, height);
    if (scaled) CheckPicture(scaled.get(), width, height);
    ::close(fd);
    return 0;
}
