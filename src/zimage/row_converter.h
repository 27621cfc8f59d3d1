// RowConverter: converts rows of four-byte pixels (blue, green, red, unused: Qt's RGB32 and
// X's 24-bit-depth images in memory) to the three-byte pixels of frames, and back. Stateless;
// safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora::zimage {

class RowConverter {
public:
    // Writes exactly 3 * pixels bytes to `out` from 4 * pixels bytes at `in`. The two
    // rows must not overlap.
    static void BgrxToBgr(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept;
    // Writes exactly 4 * pixels bytes to `out` from 3 * pixels bytes at `in`, the fourth
    // byte of each 0xff (opaque, as Qt's RGB32 wants it). The two rows must not overlap.
    static void BgrToBgrx(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept;

private:
    static std::size_t BgrxToBgrVector(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept;
    static std::size_t BgrToBgrxVector(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept;
};

}  // namespace lumora::zimage
