#include "app/packed_version.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace lumora {

PackedVersion PackedVersion::FromReply(std::string_view reply) {
    constexpr std::size_t kReplyBytes = 8;
    std::array<char, kReplyBytes + 1> buffer{};  // zero-filled: always terminated
    std::copy_n(reply.begin(), std::min(reply.size(), kReplyBytes), buffer.begin());
    // A negated number is no version: strtoul would turn "-1" into the highest version
    // there is and offer it as an update.
    const char* text = buffer.data();
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    if (*text == '-') return PackedVersion(0);
    const unsigned long value = std::strtoul(text, nullptr, 16);
    return PackedVersion(value > 0xFFFFFFFFul ? 0 : static_cast<std::uint32_t>(value));
}

std::string PackedVersion::Text() const {
    return std::to_string(value_ >> 24) + "." + std::to_string((value_ >> 16) & 0xFF) + "." +
           std::to_string((value_ >> 8) & 0xFF) + "." + std::to_string(value_ & 0xFF);
}

}  // namespace lumora
