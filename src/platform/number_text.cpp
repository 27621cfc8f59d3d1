#include "platform/number_text.h"

#include <charconv>
#include <cmath>

namespace lumora {

std::optional<long> ParseInteger(std::string_view text) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || next != end) return std::nullopt;
    return value;
}

bool IsWholeNumberText(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<double> ParseDecimal(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || next != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.emplace_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

std::optional<std::vector<long>> ParseIntegerList(std::string_view text, char separator) {
    std::vector<long> values;
    for (const std::string& part : SplitList(text, separator)) {
        const std::optional<long> value = ParseInteger(part);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

std::string OutOfRange(const std::string& what, const std::string& range) {
    return what + " is out of range (" + range + ")";
}

}  // namespace lumora
