// Frame packets from other programs. Whatever the bytes: a header the parser accepts is
// byte for byte the header Lumora writes for that frame, its payload is exactly the
// frame's size, and a whole packet is accepted only at exactly header plus payload bytes.
// Covers: frame_packet.cpp

#include "fuzz_check.h"
#include "frames/frame_packet.h"

#include <lumora/zimage.h>

#include <cstring>

using lumora::FramePacket;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto header = FramePacket::ParseHeader(data, size, &error);
    const auto packet = FramePacket::Parse(data, size);
    if (!header) {
        FUZZ_CHECK(!error.empty(), "a refused header says why");
        FUZZ_CHECK(!packet, "a packet with a refused header is refused");
        return 0;
    }
    FUZZ_CHECK(header->width > 0 && header->height > 0, "accepted frame sizes are positive");
    FUZZ_CHECK(header->bitCount == FramePacket::kBitCount, "accepted packets hold 24-bit frames");
    FUZZ_CHECK(
        header->payloadSize != 0 && header->payloadSize == ZImage_CalcImageSize(header->width, header->height, 24),
        "the payload is exactly one frame");

    unsigned char written[FramePacket::kHeaderSize];
    FramePacket::FillHeader(written, header->width, header->height, header->payloadSize);
    FUZZ_CHECK(std::memcmp(written, data, sizeof written) == 0, "an accepted header is the one Lumora writes");

    const bool whole = size == FramePacket::kHeaderSize + std::size_t{header->payloadSize};
    FUZZ_CHECK(packet.has_value() == whole, "a packet is accepted exactly at header plus payload bytes");
    if (packet) {
        FUZZ_CHECK(packet->payloadSize == header->payloadSize && packet->width == header->width &&
                       packet->height == header->height,
                   "both parsers read the same header");
    }
    return 0;
}
