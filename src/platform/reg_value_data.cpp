#include "platform/reg_value_data.h"

#include <algorithm>

namespace lumora {

std::vector<std::uint8_t> TextToValueData(std::string_view text) {
    std::vector<std::uint8_t> data(text.size() + 1, 0);
    std::copy(text.begin(), text.end(), data.begin());
    return data;
}

std::string ValueDataToText(const std::vector<std::uint8_t>& data) {
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    return std::string(data.begin(), end);
}

std::vector<std::uint8_t> DwordToValueData(std::uint32_t number) {
    return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

std::optional<std::uint32_t> ValueDataToDword(const std::vector<std::uint8_t>& data) {
    if (data.size() != 4) return std::nullopt;
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

}  // namespace lumora
