// DesktopEntry: the main group ("[Desktop Entry]") of a freedesktop.org desktop entry
// file, as a list of keys with their values, read from a file's text and written back.
//
// Values are held as they are meant and escaped only in Text(): "\s", "\n", "\t", "\r"
// and "\\" are the string escapes of the format. Keys are case-sensitive, blanks around
// "=" are ignored, comments and other groups are passed over when reading (and are not
// kept). An Exec value is a command line: QuoteExecArgument makes one argument of any
// text, following the format's quoting rules.
//
// A value object; no thread or file of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumora {

class DesktopEntry {
public:
    // The keys of the main group of `text`; a malformed line is passed over.
    static DesktopEntry Parse(std::string_view text);

    // Replaces the value of `key` where it stands, or adds it at the end.
    void Set(const std::string& key, const std::string& value);
    std::optional<std::string> Get(std::string_view key) const;
    // "true" or "1" is true, anything else (or no value) false, as desktops read it.
    bool GetBoolean(std::string_view key) const;

    // "[Desktop Entry]" and one "Key=Value" line per key, in order.
    std::string Text() const;

    // One argument of an Exec line: `argument` itself when it holds none of the reserved
    // characters (blanks, quotes, backslash, `$&;|<>~*?#()` and the backquote), else in
    // double quotes with `"`, `$`, the backquote and `\` escaped by a backslash; a "%"
    // is doubled in both cases, so it is never read as a field code.
    static std::string QuoteExecArgument(std::string_view argument);

private:
    std::vector<std::pair<std::string, std::string>> keys_;
};

}  // namespace lumora
