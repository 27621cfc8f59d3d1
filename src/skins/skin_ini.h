// Reading and writing skin.ini files over the program's profile-file reader, with the
// rules of the Windows profile functions (see platform/profile_file.h): sections and keys
// case-insensitive, values at most 255 characters.
//
// SkinIni reads a file once and answers every lookup of one skin from memory. A file
// larger than kMaxFileSize is not a skin description and is not read. Plain value; the
// free functions read or write the file on every call. User-interface thread (any one
// thread at a time).
#pragma once

#include "platform/profile_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumora {

class SkinIni {
public:
    static constexpr std::uintmax_t kMaxFileSize = 1u << 20;

    // Nothing when the file is missing, is not a regular file, is too large or cannot be read.
    static std::optional<SkinIni> Load(const std::filesystem::path& file);

    // The value, or "" when the key is missing.
    std::string Value(std::string_view section, std::string_view key) const;

private:
    explicit SkinIni(ProfileFile profile) : profile_(std::move(profile)) {}

    ProfileFile profile_;
};

// The value of `key` in `section` of `ini`; "" when it or the file is missing.
std::string ReadSkinValue(const std::filesystem::path& ini, std::string_view section, std::string_view key);

// Writes the value, creating the file and the section when needed. True only when the
// value was written.
bool WriteSkinValue(const std::filesystem::path& ini, std::string_view section, std::string_view key,
                    std::string_view value);

}  // namespace lumora
