// The line syntax of profile (INI) files such as skin.ini and .pls playlists, with the
// rules of the Windows profile functions:
//   [section]         a section header; blanks inside the brackets are ignored
//   key = value       blanks around key and value are ignored; the value is split off at
//                     the first '=', so it may hold more of them
//   ; comment         ignored, like blank lines and any line without '='
// One pair of enclosing quotes, double or single, is taken off a value, and a value reads
// as at most 255 bytes (cut before a UTF-8 sequence, never inside one). Names are matched
// without regard to ASCII case by the callers.
//
// Stateless; safe from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumora {

inline constexpr std::size_t kMaxProfileValueLength = 255;

struct ProfileLine {
    enum class Kind { kOther, kSection, kEntry };
    Kind kind = Kind::kOther;
    std::string_view name;   // section name or key, trimmed
    std::string_view value;  // entries: the value as written, trimmed, quotes still on
};

// `line` without its line end.
ProfileLine ClassifyProfileLine(std::string_view line);

// The value a reader sees: quotes taken off, cut to kMaxProfileValueLength.
std::string ProfileValueAsRead(std::string_view writtenValue);

// The integer of a value the way the Windows profile reader takes it: an optional sign,
// then decimal digits up to the first other character; 0 when there are none. Numbers
// too large for 32 bits wrap around.
int ParseProfileInt(std::string_view value);

// The text to write after "key=" so that ProfileValueAsRead gives `value` back: in
// double quotes when it has blanks at either end or enclosing quotes of its own.
std::string EncodeProfileValue(std::string_view value);

// What may be written without breaking the file or reading back as something else.
bool IsWritableProfileSection(std::string_view section);
bool IsWritableProfileKey(std::string_view key);
bool IsWritableProfileValue(std::string_view value);

}  // namespace lumora
