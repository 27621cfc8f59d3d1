#include "cli/source_argument.h"

#include "cli/number_text.h"

namespace lumora::cli {
namespace {

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
    if (!numbers || numbers->size() != 4 || (*numbers)[0] < 0 || (*numbers)[1] < 0 || (*numbers)[2] < 1 ||
        (*numbers)[3] < 1 || (*numbers)[2] > 16384 || (*numbers)[3] > 16384 || (*numbers)[0] > 65536 ||
        (*numbers)[1] > 65536) {
        return Fail(error, "desktop wants <x>,<y>,<width>,<height> (a width and height of at least 1)");
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
        if (!index || *index < 0 || *index > 1000) return Fail(error, "device: wants a device number from `lumora-cli devices`");
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
