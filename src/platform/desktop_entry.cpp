#include "platform/desktop_entry.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr char kMainGroup[] = "[Desktop Entry]";
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string Unescape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's': out += ' '; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case '\\': out += '\\'; break;
            default:  // not an escape: kept as written
                out += '\\';
                out += value[i];
                break;
        }
    }
    return out;
}

std::string Escape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        switch (value[i]) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            // A leading blank would be trimmed by the reader.
            case ' ': out += i == 0 ? "\\s" : " "; break;
            default: out += value[i]; break;
        }
    }
    return out;
}

}  // namespace

DesktopEntry DesktopEntry::Parse(std::string_view text) {
    DesktopEntry entry;
    bool inMainGroup = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            inMainGroup = line == kMainGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inMainGroup || equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        if (!key.empty()) entry.Set(std::string(key), Unescape(Trim(line.substr(equals + 1))));
    }
    return entry;
}

void DesktopEntry::Set(const std::string& key, const std::string& value) {
    const auto found = std::find_if(keys_.begin(), keys_.end(), [&](const auto& pair) { return pair.first == key; });
    if (found != keys_.end()) {
        found->second = value;
    } else {
        keys_.emplace_back(key, value);
    }
}

std::optional<std::string> DesktopEntry::Get(std::string_view key) const {
    for (const auto& [name, value] : keys_) {
        if (name == key) return value;
    }
    return std::nullopt;
}

bool DesktopEntry::GetBoolean(std::string_view key) const {
    const auto value = Get(key);
    return value && (*value == "true" || *value == "1");
}

std::string DesktopEntry::Text() const {
    std::string text = std::string(kMainGroup) + "\n";
    for (const auto& [key, value] : keys_) text += key + "=" + Escape(value) + "\n";
    return text;
}

std::string DesktopEntry::QuoteExecArgument(std::string_view argument) {
    const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
    std::string out = quote ? "\"" : "";
    for (const char c : argument) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (quote && kEscapedInQuotes.find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    if (quote) out += '"';
    return out;
}

}  // namespace lumora
