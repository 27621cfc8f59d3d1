// The text form of the settings file: the .reg format, readable and editable by a person.
//
//   Lumora Registry Version 1
//
//   [SOFTWARE\Lumora]
//   "RememberLastSource"=dword:00000001
//   "LastSourceID"="/home/me/Videos/a \"quoted\" name.avi"
//   @="the key's default value"
//
//   [SOFTWARE\Lumora\9FFBA7A9-17C1-4490-BC91-5273A4314C0E]
//   "Frame"=hex:01,02,03
//
// The header line is written first; reading takes a file without it as well (a file
// written by hand often starts right with its first section). Each key is a section
// "[path]"; each value one line:
//   "Name"="text"           REG_SZ
//   "Name"=dword:0000000a   REG_DWORD (1 to 8 hex digits are read, 8 are written)
//   "Name"=hex:01,02        REG_BINARY
//   "Name"=hex(2):25,00     REG_EXPAND_SZ: the raw bytes, UTF-8 and the final zero
//   "Name"=hex(N):...       any other type N (hexadecimal), and any value whose bytes do
//                           not fit the forms above (a REG_SZ without its final zero, a
//                           REG_DWORD that is not 4 bytes), so every value round-trips.
// "@" names the default value. Long hex lists go on over several lines: a line ending in
// "\" continues on the next. Blank lines and lines starting with ';' are skipped. Reading
// also accepts a UTF-8 byte-order mark, CRLF line ends, blanks around '=' and after the
// type's colon, and the type words in any letter case ("DWORD:1"). A value given twice
// keeps the later one; a section given twice adds to its key.
//
// Quoted names and texts escape these bytes and keep every other byte as it is (UTF-8
// stays readable):
//   \"  quote    \\  backslash    \n  line feed    \r  carriage return    \t  tab
//   \xHH  any other control byte (below 0x20, and 0x7f), two hex digits
//
// Stateless; safe from any thread.
#pragma once

#include "platform/reg_document.h"

#include <optional>
#include <string>
#include <string_view>

namespace lumora {

class RegFileFormat {
public:
    static constexpr std::string_view kHeader = "Lumora Registry Version 1";

    // The document, or nothing when the text is not a settings file: a line that is
    // neither section nor value (another program's header among them), a value before the
    // first section, a bad escape or hex digit, an unfinished continuation, an invalid key
    // path. The header may come after blank and comment lines but not after a section.
    // An empty text is an empty document. Linear in the size of the text.
    static std::optional<RegDocument> Parse(std::string_view text);

    static std::string Serialize(const RegDocument& document);
};

}  // namespace lumora
