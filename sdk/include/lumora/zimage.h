// zimage: the image operations every pixel path in Lumora goes through. Plug-ins may link
// the shared library and include this header (standard headers and lumora/bitmap.h only).
//
// Frames are VideoFrame pixel arrays (see video_frame_layout.h): 24-bit blue-green-red,
// rows padded to four bytes, bottom row first. x counts from the left column, y from the
// bottom row, so a rectangle's top is its larger y. A frame of width w and height h is
// exactly ZImage_CalcImageSize(w, h, 24) bytes; the operations never touch a byte outside
// it.
//
// Results: every operation answers a 32-bit value, 0 meaning failure unless said otherwise.
// Failure is answered, never thrown: null pointers, non-positive sizes, sizes whose byte
// count does not fit (see VideoFrameLayout::kMaxImageBytes) and degenerate rectangles
// answer 0 and leave the memory alone. A rectangle that is valid but lies partly or
// wholly outside the frame is clipped to it; the call still succeeds, even when nothing
// is left to draw.
//
// Threads: the pixel operations keep no state and may run on any number of threads at
// once, as long as no two calls write the same frame. The screen copy serialises itself.
// Picture loading and JPEG saving use Qt's image plug-ins: a QGuiApplication (or
// QApplication) should exist, as it does in the program and its tests.
//
// Colours are Windows colour values, 0x00BBGGRR; the top byte is ignored.
#pragma once

#include <lumora/bitmap.h>

#include <cstdint>
#include <memory>

// The Windows BITMAPINFOHEADER, byte for byte: describes the pixel buffer of a screen copy
// and the format of a video stream. A positive height means bottom-up rows, a negative one
// top-down rows. Compression 0 is uncompressed RGB.
struct ZImageBitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(ZImageBitmapInfoHeader) == 40, "ZImageBitmapInfoHeader must stay 40 bytes");

// A rectangle of the screen in X coordinates: y grows downwards, right and bottom are just
// outside the rectangle.
struct ZImageRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// Width and height of a loaded picture.
struct ZImageSize {
    std::int32_t width;
    std::int32_t height;
};

// Bytes per row of `width` pixels at `bitCount` bits (1, 2, 4, 8, 16, 24 or 32), rounded
// up to four bytes. 0 for bad input or a count that does not fit.
std::uint32_t ZImage_CalcWidthBytes(std::int32_t width, std::int32_t bitCount) noexcept;

// Row bytes times height: the size of every frame, packet and snapshot buffer. 0 for a
// non-positive size, a bad bit count or a total above 2^31 - 1 bytes.
std::uint32_t ZImage_CalcImageSize(std::int32_t width, std::int32_t height, std::int32_t bitCount) noexcept;

// Scales src into dst, bilinear, with pixel centres aligned (the corner pixels keep their
// values). A 1x1 source fills dst; equal sizes copy. Only pixels are written: the padding
// at the end of dst's rows stays as it is. The two frames must not overlap unless they are
// the same frame of the same size (then nothing changes).
std::int32_t ZImage_Resize(std::uint8_t* dst, std::int32_t dstWidth, std::int32_t dstHeight,
                           const std::uint8_t* src, std::int32_t srcWidth, std::int32_t srcHeight) noexcept;

// Copies src into dst with src's lower-left corner at (x, y) of dst, clipped on every side.
// Negative x and y cut a dst-sized window out of a larger source, starting at (-x, -y).
// src and dst may be the same frame; other overlapping buffers are refused.
std::int32_t ZImage_Composition(std::uint8_t* dst, std::int32_t dstWidth, std::int32_t dstHeight,
                                const std::uint8_t* src, std::int32_t srcWidth, std::int32_t srcHeight,
                                std::int32_t x, std::int32_t y) noexcept;

// Fills the fillWidth x fillHeight rectangle whose lower-left corner is (x, y) with
// `colour`, clipped to the frame. `reserved` has no meaning yet and is ignored; pass 0 (as
// picture-in-picture does).
std::int32_t ZImage_Fill(std::uint8_t* dst, std::int32_t dstWidth, std::int32_t dstHeight,
                         std::int32_t fillWidth, std::int32_t fillHeight, std::int32_t x, std::int32_t y,
                         std::uint32_t colour, std::int32_t reserved) noexcept;

// Multiplies each channel of the region (lower-left corner at (regionX, regionY), clipped)
// by its level / 128, saturating at 255: 128 keeps a channel, 256 doubles it, 0 blacks it
// out. Negative levels count as 0.
std::int32_t ZImage_ColorFilter(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                std::int32_t regionWidth, std::int32_t regionHeight,
                                std::int32_t regionX, std::int32_t regionY,
                                std::int32_t red, std::int32_t green, std::int32_t blue) noexcept;

// Draws the one-pixel outline of the rectangle whose left column and bottom row are inside
// and whose right column and top row are just outside it: columns left and right - 1, rows
// bottom and top - 1. Edges outside the frame are left out, the inside parts of the others
// drawn. A rectangle with right <= left or top <= bottom draws nothing and answers 0.
std::int32_t ZImage_DrawRect(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                             std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                             std::uint32_t colour) noexcept;

// Copies the rectangle of the X screen ($DISPLAY, root window) into `pixels`, scaled to
// outWidth x outHeight, in the format `header` describes: uncompressed 16 (5-5-5), 24 or
// 32 bits, bottom-up for a positive biHeight, top-down for a negative one. biWidth must be
// outWidth and |biHeight| must be outHeight; the buffer must hold the image size of that
// format. Parts of the rectangle outside the screen come out black. Answers non-zero on
// success, 0 without a display or for bad arguments. Safe to call from any thread.
std::uint32_t ZImage_CopyScreenToBitmap(std::int32_t outWidth, std::int32_t outHeight,
                                        const ZImageRect* screenRect, void* pixels,
                                        const ZImageBitmapInfoHeader* header) noexcept;

// Decodes the picture file at `path` (UTF-8 or local file name encoding; any format Qt
// reads: BMP, JPEG, GIF (first frame), ICO, PNG, ...) at its own size and writes width and
// height into `size` when it is not null. Transparency is dropped. Null on failure.
std::unique_ptr<lumora::Bitmap> ZImage_LoadImageToBitmap(const char* path, ZImageSize* size) noexcept;

// The picture at `path` scaled to width x height (aspect ratio not kept). Null on failure.
std::unique_ptr<lumora::Bitmap> ZImage_LoadImageToBitmapSize(const char* path, std::int32_t width,
                                                             std::int32_t height) noexcept;

// Writes the frame as a JPEG file (quality 90), top row of the picture first. The file is
// written under a temporary name and renamed, so a failed save leaves no partial file and
// an existing file is replaced whole. Non-zero on success.
std::int32_t ZImage_SaveJpeg2(const char* path, const std::uint8_t* pixels, std::int32_t width,
                              std::int32_t height) noexcept;
