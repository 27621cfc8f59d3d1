// ZoomWindow: replaces a frame with a frame-sized window of that frame enlarged, without
// making the enlarged picture: only the pixels that will be seen are computed, from the
// source pixels under them.
//
// The pixels are those of enlarging the whole frame with ZImage_Resize and cutting the
// window out with ZImage_Composition: at exactly twice the size the same as zimage's 2x
// scaler, byte for byte; at other sizes within 1 per channel of its bilinear scaler
// (pixel centres aligned, 11-bit fixed-point weights).
//
// Threads: not synchronised; the owning effect calls it under its own lock. Memory: the
// tables and buffers grow to the largest frame seen and stay until Release, so frames of
// a steady size allocate nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace lumora {

class ZoomWindow {
public:
    // Replaces the width x height frame at `pixels` with the window whose lower-left corner
    // is (x, y) in the frame enlarged to zoomWidth x zoomHeight. Needs zoomWidth >= width,
    // zoomHeight >= height, 0 <= x <= zoomWidth - width and 0 <= y <= zoomHeight - height.
    // False, with the frame untouched, for anything else or when memory runs out.
    bool Draw(std::uint8_t* pixels, std::int32_t width, std::int32_t height, std::int32_t zoomWidth,
              std::int32_t zoomHeight, std::int32_t x, std::int32_t y) noexcept;

    // Frees every buffer.
    void Release() noexcept;

private:
    // Two source samples and their weights (sum about 2048) for one output column or row.
    struct Tap {
        std::int32_t first;
        std::int32_t second;
        std::int16_t weight0;
        std::int16_t weight1;
    };
    struct Geometry {
        std::int32_t width = 0, height = 0, zoomWidth = 0, zoomHeight = 0, x = 0, y = 0;
        bool IsDouble() const noexcept { return zoomWidth == 2 * width && zoomHeight == 2 * height; }
        friend bool operator==(const Geometry&, const Geometry&) = default;
    };

    static bool IsValid(const Geometry& g) noexcept;
    // The taps of `count` outputs starting at `first`, scaling `size` samples to `zoomSize`.
    // Columns are clamped at both ends; rows keep the raw weights with clamped rows.
    static void MakeTaps(std::vector<Tap>& taps, std::int32_t first, std::int32_t count, std::int32_t size,
                         std::int32_t zoomSize, bool clampWeights);
    void Prepare(const Geometry& g);
    void CopySource(const std::uint8_t* pixels, std::uint32_t stride) noexcept;
    const std::uint8_t* SourceRow(std::int32_t row) const noexcept;
    // The widened source row `row`, made in the buffer that does not hold `keep`.
    template <class T>
    const T* Widened(std::vector<T> (&buffers)[2], std::int32_t row, std::int32_t keep);
    void Widen(std::int32_t row, std::uint8_t* out) const noexcept;
    void Widen(std::int32_t row, std::int16_t* out) const noexcept;
    void DrawDouble(std::uint8_t* pixels, std::uint32_t stride);
    void DrawGeneral(std::uint8_t* pixels, std::uint32_t stride);

    Geometry geometry_;
    std::vector<Tap> columns_;
    std::vector<std::int32_t> columnOffsets_;  // byte offset of each column's first sample
    std::vector<std::uint32_t> columnWeights_; // weight0 | weight1 << 16
    std::vector<Tap> rows_;     // first/second: source rows
    // The source pixels under the window, each row with one pixel more on either side.
    std::int32_t sourceLeft_ = 0, sourceBottom_ = 0, sourceColumns_ = 0, sourceRows_ = 0;
    std::size_t sourceStride_ = 0;
    std::vector<std::uint8_t> source_;
    std::vector<std::uint8_t> doubled_[2];  // 2x rows, (3 near + far + 2) / 4
    std::vector<std::int16_t> weighted_[2]; // other sizes, (s0 w0 + s1 w1) / 16
    std::int32_t widenedRow_[2] = {-1, -1};
};

}  // namespace lumora
