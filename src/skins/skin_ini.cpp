#include "skins/skin_ini.h"

namespace lumora {

std::optional<SkinIni> SkinIni::Load(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMaxFileSize) return std::nullopt;
    std::optional<ProfileFile> profile = ProfileFile::Load(file);
    if (!profile) return std::nullopt;
    return SkinIni(std::move(*profile));
}

std::string SkinIni::Value(std::string_view section, std::string_view key) const {
    return profile_.ReadString(section, key, "");
}

std::string ReadSkinValue(const std::filesystem::path& ini, std::string_view section, std::string_view key) {
    const std::optional<SkinIni> file = SkinIni::Load(ini);
    return file ? file->Value(section, key) : std::string();
}

bool WriteSkinValue(const std::filesystem::path& ini, std::string_view section, std::string_view key,
                    std::string_view value) {
    return WriteProfileString(ini, section, key, value);
}

}  // namespace lumora
