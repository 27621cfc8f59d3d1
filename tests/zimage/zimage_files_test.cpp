// Picture loading and JPEG saving: orientation, formats, failures, atomic replacement.
#include "test_frame.h"
#include "test_support.h"

#include <lumora/zimage.h>

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

using lumora::test::Bgr;
using lumora::test::TempDir;
using lumora::test::TestFrame;

constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kBlue{255, 0, 0};

Bgr PixelOf(const lumora::Bitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.row(y) + x * 3;
    return {p[0], p[1], p[2]};
}

bool Near(Bgr a, Bgr b, int tolerance) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])}) <= tolerance;
}

// 16 x 16, top half red, bottom half blue (as seen by a viewer: top row first).
QImage RedOverBlue() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    for (int y = 0; y < 8; ++y) std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), 16, qRgb(255, 0, 0));
    return image;
}

// Size, way up and colours of each kind of file; the photograph itself through the graph's still source.
TEST(ZImageLoad, EveryPictureFormatTheDialogsOfferAndNullForMissingOrGarbageFiles) {
    TempDir dir;
    for (const char* format : {"bmp", "png", "gif", "ico", "jpg"}) {
        const std::string path = dir.file(std::string("picture.") + format);
        const bool gif = std::string(format) == "gif";  // Qt writes no GIF: ffmpeg turns the PNG into one
        ASSERT_TRUE(gif ? std::system(("ffmpeg -v error -i " + dir.file("picture.png") + " " + path).c_str()) == 0
                        : RedOverBlue().save(QString::fromStdString(path), nullptr, 95))
            << format;
        const int tolerance = std::string(format) == "jpg" ? 24 : gif ? 4 : 0;

        ZImageSize size{};
        const auto own = ZImage_LoadImageToBitmap(path.c_str(), &size);
        const auto scaled = ZImage_LoadImageToBitmapSize(path.c_str(), 5, 4);
        ASSERT_TRUE(own && scaled) << format;
        EXPECT_EQ(std::tuple(size.width, size.height, scaled->width(), scaled->height()), std::tuple(16, 16, 5, 4));
        // The top row is the last.
        EXPECT_TRUE(Near(PixelOf(*own, 3, 15), kRed, tolerance)) << format;
        EXPECT_TRUE(Near(PixelOf(*own, 3, 0), kBlue, tolerance)) << format;
        EXPECT_TRUE(Near(PixelOf(*scaled, 2, 3), kRed, tolerance + 8)) << format;
        EXPECT_TRUE(Near(PixelOf(*scaled, 2, 0), kBlue, tolerance + 8)) << format;
    }
    // Transparent parts become black.
    QImage alpha(4, 2, QImage::Format_ARGB32);
    alpha.fill(QColor(255, 255, 255, 255));
    for (int x = 0; x < 4; ++x) alpha.setPixelColor(x, 1, QColor(255, 255, 255, 0));
    ASSERT_TRUE(alpha.save(QString::fromStdString(dir.file("alpha.png"))));
    const auto bitmap = ZImage_LoadImageToBitmap(dir.file("alpha.png").c_str(), nullptr);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(std::pair(PixelOf(*bitmap, 1, 1), PixelOf(*bitmap, 1, 0)), std::pair(Bgr{255, 255, 255}, Bgr{0, 0, 0}));
}

// A camera held upright writes its picture lying on its side and says so in the EXIF
// orientation tag: 6 means "turn it a quarter clockwise to show it". The picture as shown
// is 16 wide and 32 high: red top left, green top right, blue bottom left, white bottom
// right; the file holds it 32 wide and 16 high.
Bgr ShownColour(int x, int y) {
    if (y < 16) return x < 8 ? kRed : Bgr{0, 255, 0};
    return x < 8 ? kBlue : Bgr{255, 255, 255};
}

TEST(ZImageLoad, AJpegTurnedByItsExifTagComesOutUpright) {
    TempDir dir;
    QImage stored(32, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Bgr colour = ShownColour(15 - y, x);  // turned a quarter clockwise, (x, y) is shown at (15 - y, x)
            stored.setPixelColor(x, y, QColor(colour[2], colour[1], colour[0]));
        }
    }
    const std::string plain = dir.file("plain.jpg");
    EXPECT_TRUE(stored.save(QString::fromStdString(plain), "JPEG", 100));
    const std::vector<unsigned char> jpeg = lumora::test::ReadFileBytes(plain);
    // APP1 "Exif": a big-endian TIFF header and one IFD entry, Orientation (0x0112) = 6.
    const std::string exif(
        "\377\341\000\042Exif\000\000MM\000\052\000\000\000\010\000\001"
        "\001\022\000\003\000\000\000\001\000\006\000\000\000\000\000\000",
        36);
    const std::string path = dir.file("turned.jpg");
    lumora::test::WriteFileText(
        path, std::string(jpeg.begin(), jpeg.begin() + 2) + exif + std::string(jpeg.begin() + 2, jpeg.end()));
    ZImageSize size{};
    const auto own = ZImage_LoadImageToBitmap(path.c_str(), &size);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(std::pair(size.width, size.height), std::pair(16, 32));
    for (const auto& [x, y] : {std::pair{3, 3}, std::pair{12, 3}, std::pair{3, 28}, std::pair{12, 28}}) {
        EXPECT_TRUE(Near(PixelOf(*own, x, 31 - y), ShownColour(x, y), 24)) << x << "," << y;
    }
    // Scaled to the upright picture's shape and to the other one: the same corners.
    for (const auto& [width, height] : {std::pair{8, 16}, std::pair{16, 8}}) {
        const auto scaled = ZImage_LoadImageToBitmapSize(path.c_str(), width, height);
        ASSERT_NE(scaled, nullptr);
        ASSERT_EQ(std::pair(scaled->width(), scaled->height()), std::pair(width, height));
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{width - 1, 0}, std::pair{0, height - 1},
                                   std::pair{width - 1, height - 1}}) {  // shown at (x, y), stored at (x, bottom - y)
            EXPECT_TRUE(Near(PixelOf(*scaled, x, height - 1 - y), ShownColour(x * 16 / width, y * 32 / height), 32))
                << width << ": " << x << "," << y;
        }
    }

    // Missing or garbage files, and a good one at a size that is no size or too large, give null.
    const std::string garbage = dir.file("garbage.jpg");
    lumora::test::WriteFileText(garbage, std::string(5000, '\x5A'));
    const std::string truncated = dir.file("truncated.png");
    RedOverBlue().save(QString::fromStdString(truncated));
    std::filesystem::resize_file(truncated, 20);

    for (const std::string& path : {dir.file("missing.bmp"), garbage, truncated, dir.path().string()}) {
        ZImageSize size{7, 7};
        EXPECT_EQ(ZImage_LoadImageToBitmap(path.c_str(), &size), nullptr) << path;
        EXPECT_EQ(size.width, 7) << "the record is left alone on failure";
        EXPECT_EQ(ZImage_LoadImageToBitmapSize(path.c_str(), 8, 8), nullptr) << path;
    }
    // A good picture asked for at a size that is no size, or too large.
    const std::string photo = lumora::test::TestDataPath("messi5.jpg");
    for (const auto& [width, height] : {std::pair{0, 61}, std::pair{100, -1}, std::pair{70000, 70000}}) {
        EXPECT_EQ(ZImage_LoadImageToBitmapSize(photo.c_str(), width, height), nullptr) << width << "x" << height;
    }
}

TEST(ZImageSaveJpeg, RoundTripIsUprightReplacesWholeFilesAndLeavesNothingOnFailure) {
    TempDir dir;
    const std::string path = dir.file("snapshot000.jpg");
    TestFrame frame(64, 48);  // its picture (top row first) red over green, with a soft gradient
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x)
            frame.set(x, y, y >= 24 ? Bgr{Bgr::value_type(x * 2), 0, 230} : Bgr{Bgr::value_type(x * 2), 200, 0});
    }
    ASSERT_NE(ZImage_SaveJpeg2(path.c_str(), frame.data(), 64, 48), 0);

    const QImage decoded(QString::fromStdString(path));
    ASSERT_EQ(decoded.size(), QSize(64, 48));
    long long error = 0;  // a picture upside down or in swapped channels is off by a hundred on average
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb rgb = decoded.pixel(x, y);
            const Bgr want = frame.at(x, 47 - y);
            error += std::abs(qBlue(rgb) - want[0]) + std::abs(qGreen(rgb) - want[1]) + std::abs(qRed(rgb) - want[2]);
        }
    }
    EXPECT_LT(error / (64.0 * 48 * 3), 3.0);

    // An existing file is replaced whole.
    lumora::test::WriteFileText(path, "old contents");
    ASSERT_NE(ZImage_SaveJpeg2(path.c_str(), frame.data(), 64, 48), 0);
    EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(64, 48));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file is left";
    const auto mode = std::filesystem::status(path).permissions();
    EXPECT_NE(mode & std::filesystem::perms::others_read, std::filesystem::perms::none) << "a normal file, not 0600";

    EXPECT_EQ(ZImage_SaveJpeg2(dir.file("no/such/folder.jpg").c_str(), frame.data(), 64, 48), 0);
    EXPECT_EQ(ZImage_SaveJpeg2(dir.path().string().c_str(), frame.data(), 64, 48), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
