// PackedVersion: a program version in one unsigned 32-bit number, one field a byte, the
// first field in the top byte: 1.0.0.9 is 0x01000009. The update check compares these.
//
// A value type; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

class PackedVersion {
public:
    constexpr explicit PackedVersion(std::uint32_t value) : value_(value) {}

    // The version a version query answered with. Only the first 8 bytes of the reply
    // count; they are read as a hexadecimal number the way strtoul does with base 16
    // (leading blanks and a "0x" are allowed, the number ends at the first character that
    // is not a hexadecimal digit). Anything else, a negated number included, reads as 0.
    static PackedVersion FromReply(std::string_view reply);

    constexpr std::uint32_t value() const { return value_; }
    constexpr bool IsNewerThan(PackedVersion other) const { return value_ > other.value_; }

    // The four fields, "1.0.0.10".
    std::string Text() const;

private:
    std::uint32_t value_;
};

// The version of this program.
inline constexpr PackedVersion kRunningVersion{0x01000009};

}  // namespace lumora
