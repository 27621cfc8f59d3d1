#include "platform/reg_file_format.h"

#include "platform/ascii_text.h"
#include "platform/reg_value_data.h"

namespace lumora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kHexBytesPerLine = 25;
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

// ---- Writing ----

void AppendHexByte(std::string& out, unsigned char byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0f];
}

void AppendEscaped(std::string& out, char c) {
    switch (c) {
        case '"': out += "\\\""; return;
        case '\\': out += "\\\\"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        default: break;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (!IsControl(byte)) {
        out += c;
        return;
    }
    out += "\\x";
    AppendHexByte(out, byte);
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) AppendEscaped(out, c);
    out += '"';
}

// The text of a REG_SZ made of text and one final zero; nothing for any other value.
std::optional<std::string_view> PlainText(const RegValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                value.data.size() - 1);
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    return text;
}

std::string HexNumber(std::uint32_t number) {
    std::string digits;
    do {
        digits.insert(digits.begin(), kHexDigits[number & 0x0f]);
        number >>= 4;
    } while (number != 0);
    return digits;
}

void AppendHexList(std::string& out, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) out += (i % kHexBytesPerLine == 0) ? ",\\\n  " : ",";
        AppendHexByte(out, bytes[i]);
    }
}

void AppendData(std::string& out, const RegValue& value) {
    if (const auto text = PlainText(value)) {
        AppendQuoted(out, *text);
        return;
    }
    if (const auto number = ValueDataToDword(value.data); number && value.type == REG_DWORD) {
        out += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4) out += kHexDigits[(*number >> shift) & 0x0f];
        return;
    }
    out += value.type == REG_BINARY ? std::string("hex:") : "hex(" + HexNumber(value.type) + "):";
    AppendHexList(out, value.data);
}

void AppendValue(std::string& out, const RegValue& value) {
    if (value.name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, value.name);
    }
    out += '=';
    AppendData(out, value);
    out += '\n';
}

// ---- Reading ----

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t number = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        number = (number << 4) | static_cast<std::uint32_t>(digit);
    }
    return number;
}

// "01,ff,2" -> bytes; an empty list is no bytes.
std::optional<std::vector<std::uint8_t>> ParseHexList(std::string_view list) {
    std::vector<std::uint8_t> bytes;
    if (TrimBlanks(list).empty()) return bytes;
    bytes.reserve(list.size() / 3 + 1);
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view item = TrimBlanks(list.substr(0, comma));
        const auto byte = item.size() <= 2 ? ParseHexNumber(item) : std::nullopt;
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos) return bytes;
        list.remove_prefix(comma + 1);
    }
}

// Appends the byte an escape sequence stands for; `in` starts after the backslash and is
// left after the sequence.
bool TakeEscape(std::string_view& in, std::string& out) {
    if (in.empty()) return false;
    const char c = in.front();
    in.remove_prefix(1);
    switch (c) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'x': break;
        default: return false;
    }
    if (in.size() < 2) return false;
    const auto byte = ParseHexNumber(in.substr(0, 2));
    if (!byte) return false;
    out += static_cast<char>(*byte);
    in.remove_prefix(2);
    return true;
}

// A quoted text at the start of `in`; `in` is left after the closing quote.
std::optional<std::string> TakeQuoted(std::string_view& in) {
    if (in.empty() || in.front() != '"') return std::nullopt;
    in.remove_prefix(1);
    std::string text;
    while (!in.empty()) {
        const char c = in.front();
        in.remove_prefix(1);
        if (c == '"') return text;
        if (c != '\\') {
            text += c;
        } else if (!TakeEscape(in, text)) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Reads the file line by line into a document.
class Parser {
public:
    explicit Parser(std::string_view text) : rest_(text) {}

    std::optional<RegDocument> Run() {
        if (rest_.starts_with(kByteOrderMark)) rest_.remove_prefix(kByteOrderMark.size());
        std::string_view line;
        while (NextLine(line)) {
            if (!ParseLine(TrimBlanks(line))) return std::nullopt;
        }
        return std::move(document_);
    }

private:
    bool NextLine(std::string_view& line) {
        if (rest_.empty()) return false;
        const std::size_t end = rest_.find('\n');
        line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

    bool ParseLine(std::string_view line) {
        if (line.empty() || line.front() == ';') return true;
        if (line.front() == '[') return ParseSection(line);
        if (currentKey_.empty() && line == RegFileFormat::kHeader) return true;
        return ParseValue(line);
    }

    bool ParseSection(std::string_view line) {
        if (line.size() < 2 || line.back() != ']') return false;
        const std::string_view path = line.substr(1, line.size() - 2);
        if (!RegDocument::IsValidKeyPath(path)) return false;
        document_.CreateKey(path);
        currentKey_ = std::string(path);
        return true;
    }

    bool ParseValue(std::string_view line) {
        if (currentKey_.empty()) return false;
        std::optional<std::string> name;
        if (line.front() == '@') {
            name.emplace();
            line.remove_prefix(1);
        } else {
            name = TakeQuoted(line);
        }
        line = TrimBlanks(line);
        if (!name || line.empty() || line.front() != '=') return false;
        std::optional<RegValue> value = ParseData(TrimBlanks(line.substr(1)));
        if (!value) return false;
        value->name = std::move(*name);
        document_.SetValue(currentKey_, std::move(*value));
        return true;
    }

    std::optional<RegValue> ParseData(std::string_view data) {
        if (data.starts_with('"')) return ParseText(data);
        if (StartsWithWord(data, "dword:")) {
            const auto number = ParseHexNumber(TrimBlanks(data.substr(6)));
            if (!number) return std::nullopt;
            return RegValue{{}, REG_DWORD, DwordToValueData(*number)};
        }
        if (StartsWithWord(data, "hex")) return ParseHex(data.substr(3));
        return std::nullopt;
    }

    static bool StartsWithWord(std::string_view data, std::string_view word) {
        return EqualsIgnoringAsciiCase(data.substr(0, word.size()), word);
    }

    static std::optional<RegValue> ParseText(std::string_view data) {
        const auto text = TakeQuoted(data);
        if (!text || !data.empty()) return std::nullopt;
        return RegValue{{}, REG_SZ, TextToValueData(*text)};
    }

    // `data` follows "hex": either ":list" or "(type):list".
    std::optional<RegValue> ParseHex(std::string_view data) {
        std::optional<std::uint32_t> type = REG_BINARY;
        if (data.starts_with('(')) {
            const std::size_t close = data.find(')');
            if (close == std::string_view::npos) return std::nullopt;
            type = ParseHexNumber(data.substr(1, close - 1));
            data.remove_prefix(close + 1);
        }
        if (!type || !data.starts_with(':')) return std::nullopt;
        std::string list(data.substr(1));
        if (!JoinContinuations(list)) return std::nullopt;
        auto bytes = ParseHexList(list);
        if (!bytes) return std::nullopt;
        return RegValue{{}, *type, std::move(*bytes)};
    }

    bool JoinContinuations(std::string& list) {
        std::string_view next;
        while (!list.empty() && list.back() == '\\') {
            list.pop_back();
            if (!NextLine(next)) return false;
            list += TrimBlanks(next);
        }
        return true;
    }

    std::string_view rest_;
    RegDocument document_;
    std::string currentKey_;
};

}  // namespace

std::optional<RegDocument> RegFileFormat::Parse(std::string_view text) {
    return Parser(text).Run();
}

std::string RegFileFormat::Serialize(const RegDocument& document) {
    std::string out(kHeader);
    out += '\n';
    for (const RegKeyEntry& key : document.keys()) {
        out += "\n[";
        out += key.path;
        out += "]\n";
        for (const RegValue& value : key.values) AppendValue(out, value);
    }
    return out;
}

}  // namespace lumora
