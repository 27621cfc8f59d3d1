#include "app/packed_version.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace lumora {

PackedVersion PackedVersion::FromReply(std::string_view reply) {
    constexpr std::size_t kReplyBytes = 8;
    std::array<char, kReplyBytes + 1> buffer{};  // zero-filled: always terminated
    std::copy_n(reply.begin(), std::min(reply.size(), kReplyBytes), buffer.begin());
    // unsigned long is wider than 32 bits here; its low 32 bits are what a 32-bit
    // strtoul gives, also for a negated number.
    return PackedVersion(static_cast<std::uint32_t>(std::strtoul(buffer.data(), nullptr, 16)));
}

std::string PackedVersion::Text() const {
    return std::to_string(value_ >> 24) + "." + std::to_string((value_ >> 16) & 0xFF) + "." +
           std::to_string((value_ >> 8) & 0xFF) + "." + std::to_string(value_ & 0xFF);
}

}  // namespace lumora
