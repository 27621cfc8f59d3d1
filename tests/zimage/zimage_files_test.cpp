// Picture loading and JPEG saving: orientation, formats, failures, atomic replacement.
#include "test_frame.h"
#include "test_support.h"

#include <lumora/zimage.h>

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

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
    for (int c = 0; c < 3; ++c) {
        if (std::abs(a[c] - b[c]) > tolerance) return false;
    }
    return true;
}

// 16 x 16, top half red, bottom half blue (as seen by a viewer: top row first).
QImage RedOverBlue() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) image.setPixelColor(x, y, QColor(255, 0, 0));
    }
    return image;
}

// Size, way up and colours of each kind of file; the photograph itself through the graph's still source.
TEST(ZImageLoad, EveryPictureFormatTheDialogsOffer) {
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
        ASSERT_NE(own, nullptr) << format;
        EXPECT_EQ(size.width, 16);
        EXPECT_EQ(size.height, 16);
        EXPECT_TRUE(Near(PixelOf(*own, 3, 15), kRed, tolerance)) << format << ": top row is the last";
        EXPECT_TRUE(Near(PixelOf(*own, 3, 0), kBlue, tolerance)) << format;

        const auto scaled = ZImage_LoadImageToBitmapSize(path.c_str(), 5, 4);
        ASSERT_NE(scaled, nullptr) << format;
        EXPECT_EQ(scaled->width(), 5);
        EXPECT_EQ(scaled->height(), 4);
        EXPECT_TRUE(Near(PixelOf(*scaled, 2, 3), kRed, tolerance + 8)) << format;
        EXPECT_TRUE(Near(PixelOf(*scaled, 2, 0), kBlue, tolerance + 8)) << format;
    }
}

// A camera held upright writes its picture lying on its side and says so in the EXIF
// orientation tag: 6 means "turn it a quarter clockwise to show it". The picture as shown
// is 16 wide and 32 high: red top left, green top right, blue bottom left, white bottom
// right; the file holds it 32 wide and 16 high.
Bgr ShownColour(int x, int y) {
    if (y < 16) return x < 8 ? kRed : Bgr{0, 255, 0};
    return x < 8 ? kBlue : Bgr{255, 255, 255};
}

std::string TurnedJpeg(const TempDir& dir) {
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
        "\xFF\xE1\x00\x22"
        "Exif\x00\x00"
        "MM\x00\x2A\x00\x00\x00\x08"
        "\x00\x01"
        "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
        "\x00\x00\x00\x00",
        36);
    const std::string path = dir.file("turned.jpg");
    lumora::test::WriteFileText(
        path, std::string(jpeg.begin(), jpeg.begin() + 2) + exif + std::string(jpeg.begin() + 2, jpeg.end()));
    return path;
}

TEST(ZImageLoad, AJpegTurnedByItsExifTagComesOutUpright) {
    TempDir dir;
    const std::string path = TurnedJpeg(dir);
    ZImageSize size{};
    const auto own = ZImage_LoadImageToBitmap(path.c_str(), &size);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(size.width, 16);
    EXPECT_EQ(size.height, 32);
    for (const auto& [x, y] : {std::pair{3, 3}, std::pair{12, 3}, std::pair{3, 28}, std::pair{12, 28}}) {
        EXPECT_TRUE(Near(PixelOf(*own, x, 31 - y), ShownColour(x, y), 24)) << x << "," << y;
    }
    // Scaled to the upright picture's shape and to the other one: the same corners.
    for (const auto& [width, height] : {std::pair{8, 16}, std::pair{16, 8}}) {
        const auto scaled = ZImage_LoadImageToBitmapSize(path.c_str(), width, height);
        ASSERT_NE(scaled, nullptr);
        ASSERT_EQ(scaled->width(), width);
        ASSERT_EQ(scaled->height(), height);
        const int right = width - 1, bottom = height - 1;
        EXPECT_TRUE(Near(PixelOf(*scaled, 0, bottom), kRed, 32)) << width;
        EXPECT_TRUE(Near(PixelOf(*scaled, right, bottom), (Bgr{0, 255, 0}), 32)) << width;
        EXPECT_TRUE(Near(PixelOf(*scaled, 0, 0), kBlue, 32)) << width;
        EXPECT_TRUE(Near(PixelOf(*scaled, right, 0), (Bgr{255, 255, 255}), 32)) << width;
    }
}

TEST(ZImageLoad, TransparentPartsBecomeBlack) {
    TempDir dir;
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(QColor(255, 255, 255, 255));
    for (int x = 0; x < 4; ++x) image.setPixelColor(x, 1, QColor(255, 255, 255, 0));
    const std::string path = dir.file("alpha.png");
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
    const auto bitmap = ZImage_LoadImageToBitmap(path.c_str(), nullptr);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(*bitmap, 1, 1), (Bgr{255, 255, 255}));
    EXPECT_EQ(PixelOf(*bitmap, 1, 0), (Bgr{0, 0, 0}));
}

TEST(ZImageLoad, MissingOrGarbageFilesGiveNull) {
    TempDir dir;
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
    EXPECT_EQ(ZImage_LoadImageToBitmapSize(photo.c_str(), 0, 61), nullptr);
    EXPECT_EQ(ZImage_LoadImageToBitmapSize(photo.c_str(), 100, -1), nullptr);
    EXPECT_EQ(ZImage_LoadImageToBitmapSize(photo.c_str(), 70000, 70000), nullptr);
}

// A frame whose picture (top row first) is red over green, with a soft gradient.
TestFrame RedOverGreenFrame() {
    TestFrame frame(64, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const auto shade = static_cast<std::uint8_t>(x * 2);
            frame.set(x, y, y >= 24 ? Bgr{shade, 0, 230} : Bgr{shade, 200, 0});
        }
    }
    return frame;
}

TEST(ZImageSaveJpeg, RoundTripIsUprightReplacesWholeFilesAndLeavesNothingOnFailure) {
    TempDir dir;
    const std::string path = dir.file("snapshot000.jpg");
    const TestFrame frame = RedOverGreenFrame();
    ASSERT_NE(ZImage_SaveJpeg2(path.c_str(), frame.data(), 64, 48), 0);

    const QImage decoded(QString::fromStdString(path));
    ASSERT_EQ(decoded.size(), QSize(64, 48));
    EXPECT_GT(qRed(decoded.pixel(10, 0)), 200) << "the frame's top (its last row) is the file's top";
    EXPECT_LT(qGreen(decoded.pixel(10, 0)), 40);
    EXPECT_GT(qGreen(decoded.pixel(10, 47)), 170);
    long long error = 0;
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
