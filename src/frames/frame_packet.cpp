#include "frames/frame_packet.h"

#include <lumora/zimage.h>

#include <cstring>

namespace lumora {
namespace {

void PutU32(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
    at[2] = static_cast<unsigned char>(value >> 16);
    at[3] = static_cast<unsigned char>(value >> 24);
}

std::uint32_t GetU32(const unsigned char* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

std::optional<FramePacketHeader> Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return std::nullopt;
}

}  // namespace

void FramePacket::FillFrameFields(unsigned char* header, std::int32_t width, std::int32_t height) {
    PutU32(header + 16, 0);
    PutU32(header + 20, static_cast<std::uint32_t>(width));
    PutU32(header + 24, static_cast<std::uint32_t>(height));
    PutU32(header + 28, 0);
    PutU32(header + 32, kBitCount);
    PutU32(header + 36, 0);
}

void FramePacket::FillLinkFields(unsigned char* header, std::uint32_t payloadSize) {
    std::memcpy(header, kMagic, sizeof kMagic);
    PutU32(header + 4, payloadSize);
    PutU32(header + 8, 0);
    PutU32(header + 12, kMarker);
}

void FramePacket::FillHeader(unsigned char* header, std::int32_t width, std::int32_t height,
                             std::uint32_t payloadSize) {
    FillFrameFields(header, width, height);
    FillLinkFields(header, payloadSize);
}

std::optional<FramePacketHeader> FramePacket::ParseHeader(const unsigned char* header, std::size_t available,
                                                          std::string* error) {
    if (!header || available < kHeaderSize) return Fail(error, "packet shorter than its header");
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) return Fail(error, "bad magic");
    if (GetU32(header + 12) != kMarker) return Fail(error, "bad marker");
    for (std::size_t offset : {8u, 16u, 28u, 36u}) {
        if (GetU32(header + offset) != 0) return Fail(error, "reserved field not zero");
    }
    FramePacketHeader parsed;
    parsed.payloadSize = GetU32(header + 4);
    parsed.width = static_cast<std::int32_t>(GetU32(header + 20));
    parsed.height = static_cast<std::int32_t>(GetU32(header + 24));
    parsed.bitCount = GetU32(header + 32);
    if (parsed.bitCount != kBitCount) return Fail(error, "bit count is not 24");
    if (parsed.width <= 0 || parsed.height <= 0) return Fail(error, "bad frame size");
    const std::uint32_t expected = ZImage_CalcImageSize(parsed.width, parsed.height, 24);
    if (expected == 0) return Fail(error, "frame too large");
    if (parsed.payloadSize != expected) return Fail(error, "payload size does not match the frame size");
    return parsed;
}

std::optional<FramePacketHeader> FramePacket::Parse(const unsigned char* packet, std::size_t size, std::string* error) {
    auto header = ParseHeader(packet, size, error);
    if (!header) return std::nullopt;
    if (size != kHeaderSize + header->payloadSize) return Fail(error, "packet length does not match its payload size");
    return header;
}

}  // namespace lumora
