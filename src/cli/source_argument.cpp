#include "cli/source_argument.h"

#include "platform/number_text.h"

namespace lumora::cli {
namespace {

constexpr long kMaxDevice = 1000;
constexpr long kMaxDesktopSide = 16384;
constexpr long kMaxDesktopOrigin = 65536;

// The text after "<prefix>:" when `text` starts so; `bare` also accepts the prefix alone.
std::optional<std::string> After(const std::string& text, const std::string& prefix, bool bare = false) {
    if (bare && text == prefix) return std::string();
    if (text.rfind(prefix + ":", 0) == 0) return text.substr(prefix.size() + 1);
    return std::nullopt;
}

std::optional<SourceArgument> Fail(std::string* error, std::string text) {
    *error = std::move(text);
    return std::nullopt;
}

std::optional<SourceArgument> ParseDesktop(const std::string& value, std::string* error) {
    SourceArgument source;
    source.kind = SourceArgument::Kind::kDesktop;
    if (value.empty()) return source;
    const std::optional<std::vector<long>> numbers = ParseIntegerList(value);
    if (!numbers || numbers->size() != 4) return Fail(error, "desktop wants <x>,<y>,<width>,<height>");
    if ((*numbers)[0] < 0 || (*numbers)[1] < 0 || (*numbers)[2] < 1 || (*numbers)[3] < 1 ||
        (*numbers)[2] > kMaxDesktopSide || (*numbers)[3] > kMaxDesktopSide || (*numbers)[0] > kMaxDesktopOrigin ||
        (*numbers)[1] > kMaxDesktopOrigin) {
        return Fail(error, OutOfRange("desktop:" + value, "x and y 0 to 65536, width and height 1 to 16384"));
    }
    const auto x = static_cast<std::int32_t>((*numbers)[0]);
    const auto y = static_cast<std::int32_t>((*numbers)[1]);
    source.desktopRect = ZImageRect{x, y, x + static_cast<std::int32_t>((*numbers)[2]),
                                  y + static_cast<std::int32_t>((*numbers)[3])};
    return source;
}

std::optional<SourceArgument> ParseFiles(const std::string& value, std::string* error) {
    SourceArgument source;
    source.kind = SourceArgument::Kind::kFiles;
    for (const std::string& file : SplitList(value)) {
        if (file.empty()) return Fail(error, "file: wants one or more paths separated by commas");
        source.files.push_back(file);
    }
    return source;
}

}  // namespace

std::optional<SourceArgument> SourceArgument::Parse(const std::string& text, std::string* error) {
    SourceArgument source;
    if (const auto value = After(text, "device")) {
        const std::optional<long> index = ParseInteger(*value);
        if (!index) return Fail(error, "device: wants a device number from `lumora-cli devices`");
        if (*index < 0 || *index > kMaxDevice) return Fail(error, OutOfRange(text, "0 to 1000"));
        source.kind = Kind::kDevice;
        source.deviceIndex = static_cast<int>(*index);
        return source;
    }
    if (const auto value = After(text, "file")) return ParseFiles(*value, error);
    if (const auto value = After(text, "playlist")) {
        if (value->empty()) return Fail(error, "playlist: wants the path of a .pls file");
        source.kind = Kind::kPlaylist;
        source.path = *value;
        return source;
    }
    if (const auto value = After(text, "image")) {
        if (value->empty()) return Fail(error, "image: wants the path of a picture");
        source.kind = Kind::kImage;
        source.path = *value;
        return source;
    }
    if (const auto value = After(text, "desktop", true)) return ParseDesktop(*value, error);
    if (const auto value = After(text, "pattern", true)) {
        source.kind = Kind::kPattern;
        if (!value->empty()) source.pattern = *value;
        return source;
    }
    return Fail(error, "unknown source \"" + text + "\"");
}

bool SourceArgument::TakesOutputFormat() const {
    return kind == Kind::kSamplePicture || kind == Kind::kImage || kind == Kind::kDesktop || kind == Kind::kPattern;
}

}  // namespace lumora::cli
