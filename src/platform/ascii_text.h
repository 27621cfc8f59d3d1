// Small text helpers shared by the settings store and the profile files.
//
// Letter case is folded for ASCII letters only: key names, value names, sections and
// profile keys are compared that way. Other bytes (UTF-8 sequences included) must match
// exactly. Stateless; safe from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumora {

// `text` with 'A'..'Z' turned into 'a'..'z'.
std::string FoldAsciiCase(std::string_view text);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// `text` without the spaces and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// True when `text` holds a carriage return or a line feed.
bool HasLineBreak(std::string_view text);

// Hash and equality for unordered containers keyed by names that match without regard to
// ASCII case. Both are transparent, so a std::string_view looks a std::string key up
// without building a string.
struct AsciiCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept;
};
struct AsciiCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return EqualsIgnoringAsciiCase(a, b); }
};

}  // namespace lumora
