// The unit written to the virtual camera: a 40-byte little-endian header followed by one
// frame in the VideoFrame layout (24-bit BGR, rows padded to 4 bytes, bottom row first).
//
//   offset  field                  offset  field
//   0       magic "DODU"           20      width (i32)
//   4       payload size (u32)     24      height (i32, positive)
//   8       reserved, 0            28      reserved, 0
//   12      marker 0xFFFFFFFF      32      bit count, 24
//   16      reserved, 0            36      reserved, 0
//
// The header is filled in two steps, as the two sides of the hand-off know their part:
// the frame's side (width, height, bit count: FillFrameFields) and the link's side
// (magic, payload size, marker: FillLinkFields). Plain functions over caller-owned bytes;
// thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

struct FramePacketHeader {
    std::uint32_t payloadSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t bitCount = 0;
};

class FramePacket {
public:
    static constexpr std::size_t kHeaderSize = 40;
    static constexpr std::uint32_t kMarker = 0xFFFFFFFFu;
    static constexpr std::uint32_t kBitCount = 24;
    static constexpr unsigned char kMagic[4] = {0x44, 0x4F, 0x44, 0x55};  // "DODU"

    // Writes width, height, bit count 24 and the reserved words at 16, 28 and 36.
    static void FillFrameFields(unsigned char* header, std::int32_t width, std::int32_t height);

    // Writes magic, payload size, the reserved word at 8 and the marker.
    static void FillLinkFields(unsigned char* header, std::uint32_t payloadSize);

    // Both of the above.
    static void FillHeader(unsigned char* header, std::int32_t width, std::int32_t height, std::uint32_t payloadSize);

    // Checks a header strictly: magic, marker, every reserved word 0, bit count 24, width
    // and height above 0, and a payload size equal to the frame's row bytes × height.
    // On failure answers nothing and, when `error` is given, says what was wrong.
    static std::optional<FramePacketHeader> ParseHeader(const unsigned char* header, std::size_t available,
                                                        std::string* error = nullptr);

    // Checks a whole packet: the header as above and exactly 40 + payload size bytes.
    static std::optional<FramePacketHeader> Parse(const unsigned char* packet, std::size_t size,
                                                  std::string* error = nullptr);
};

}  // namespace lumora
