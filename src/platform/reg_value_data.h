// How texts and numbers are laid out in a value's bytes, the Windows way: a text is its
// UTF-8 bytes and a terminating zero, a DWORD 4 bytes little-endian. Stateless.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

std::vector<std::uint8_t> TextToValueData(std::string_view text);
// The bytes up to the first zero (all of them when there is none).
std::string ValueDataToText(const std::vector<std::uint8_t>& data);

std::vector<std::uint8_t> DwordToValueData(std::uint32_t number);
// The number, or nothing when `data` is not exactly 4 bytes.
std::optional<std::uint32_t> ValueDataToDword(const std::vector<std::uint8_t>& data);

}  // namespace lumora
