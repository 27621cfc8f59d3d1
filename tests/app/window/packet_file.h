// A test's look at the packet file the virtual camera writes: its size, whole packets by
// index and the channel sums of one.
#pragma once

#include "frames/frame_packet.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lumora::test {

// The bytes written into the file at `path` so far (0 while there is none).
inline std::uintmax_t FileBytes(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

class PacketFile {
public:
    explicit PacketFile(std::string path) : path_(std::move(path)) {}

    // Whole packets so far (0 until the first header is there).
    std::size_t Count() {
        if (size_ == 0) size_ = ReadPacketSize();
        return size_ == 0 ? 0 : static_cast<std::size_t>(FileBytes(path_)) / size_;
    }
    std::vector<unsigned char> Packet(std::size_t index) const {
        std::vector<unsigned char> bytes(size_);
        std::ifstream in(path_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(index * size_));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size_));
        return bytes;
    }
    // Sums of the blue, green and red bytes of a packet's frame (for widths whose rows
    // need no padding).
    static std::array<std::uint64_t, 3> Channels(const std::vector<unsigned char>& packet) {
        std::array<std::uint64_t, 3> sums{};
        for (std::size_t i = FramePacket::kHeaderSize; i < packet.size(); ++i) {
            sums[(i - FramePacket::kHeaderSize) % 3] += packet[i];
        }
        return sums;
    }

private:
    std::size_t ReadPacketSize() const {
        std::array<unsigned char, FramePacket::kHeaderSize> header{};
        std::ifstream(path_, std::ios::binary).read(reinterpret_cast<char*>(header.data()), header.size());
        const auto parsed = FramePacket::ParseHeader(header.data(), header.size());
        return parsed ? FramePacket::kHeaderSize + parsed->payloadSize : 0;
    }

    std::string path_;
    std::size_t size_ = 0;
};

}  // namespace lumora::test
