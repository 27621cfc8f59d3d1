#include "platform/profile_syntax.h"

#include "platform/ascii_text.h"

#include <cstdint>

namespace lumora {

namespace {

bool HasEnclosingQuotes(std::string_view value) {
    return value.size() >= 2 && value.front() == value.back() &&
           (value.front() == '"' || value.front() == '\'');
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

ProfileLine SectionLine(std::string_view trimmed) {
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) return {};
    return {ProfileLine::Kind::kSection, TrimBlanks(trimmed.substr(1, close - 1)), {}};
}

ProfileLine EntryLine(std::string_view trimmed) {
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) return {};
    const std::string_view key = TrimBlanks(trimmed.substr(0, equals));
    if (key.empty()) return {};
    return {ProfileLine::Kind::kEntry, key, TrimBlanks(trimmed.substr(equals + 1))};
}

}  // namespace

ProfileLine ClassifyProfileLine(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';') return {};
    if (trimmed.front() == '[') return SectionLine(trimmed);
    return EntryLine(trimmed);
}

std::string ProfileValueAsRead(std::string_view writtenValue) {
    std::string_view value = writtenValue;
    if (HasEnclosingQuotes(value)) value = value.substr(1, value.size() - 2);
    if (value.size() <= kMaxProfileValueLength) return std::string(value);
    // A UTF-8 sequence is at most four bytes long: step back over three continuation bytes
    // at most, so that bytes which are no UTF-8 at all are cut at 255 like any others.
    std::size_t length = kMaxProfileValueLength;
    while (length > kMaxProfileValueLength - 3 && IsUtf8Continuation(value[length])) --length;
    return std::string(value.substr(0, length));
}

int ParseProfileInt(std::string_view value) {
    value = TrimBlanks(value);
    const bool negative = value.starts_with('-');
    if (negative || value.starts_with('+')) value.remove_prefix(1);
    std::uint32_t number = 0;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        number = number * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return static_cast<int>(negative ? 0u - number : number);
}

std::string EncodeProfileValue(std::string_view value) {
    if (TrimBlanks(value).size() == value.size() && !HasEnclosingQuotes(value)) {
        return std::string(value);
    }
    return "\"" + std::string(value) + "\"";
}

bool IsWritableProfileSection(std::string_view section) {
    return !TrimBlanks(section).empty() && section.find(']') == std::string_view::npos &&
           !HasLineBreak(section);
}

bool IsWritableProfileKey(std::string_view key) {
    key = TrimBlanks(key);
    return !key.empty() && key.front() != ';' && key.front() != '[' &&
           key.find('=') == std::string_view::npos && !HasLineBreak(key);
}

bool IsWritableProfileValue(std::string_view value) { return !HasLineBreak(value); }

}  // namespace lumora
