#include "skins/themed_skin_writer.h"

#include "platform/profile_file.h"
#include "skins/skin_artist.h"

#include <QFile>

namespace lumora {

namespace {

std::string SectionOf(const SkinItem& item) {
    return GetCategorySection(GetItemCategory(item.id));
}

}  // namespace

std::string ThemedSkinWriter::PictureFileName(const SkinItem& item) {
    return SectionOf(item) + "_" + item.key + ".png";
}

bool ThemedSkinWriter::Write(const SkinTheme& theme, const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return false;
    return WritePictures(theme, folder) && WriteDescription(theme, folder);
}

bool ThemedSkinWriter::WritePictures(const SkinTheme& theme, const std::filesystem::path& folder) {
    const SkinArtist artist(theme);
    for (const SkinItem& item : SkinItems()) {
        if (item.kind != SkinItemKind::kBitmap) continue;
        const std::string name = PictureFileName(item);
        const std::string sharper = name.substr(0, name.size() - 4) + "@2x.png";
        for (const auto& [file, ratio] : {std::pair{name, 1.0}, std::pair{sharper, 2.0}}) {
            if (!artist.Draw(item, ratio).save(QFile::decodeName((folder / file).c_str()), "PNG")) return false;
        }
    }
    return true;
}

bool ThemedSkinWriter::WriteDescription(const SkinTheme& theme, const std::filesystem::path& folder) {
    ProfileFile ini;
    bool written = ini.Set("general", "name", theme.name);
    for (const SkinItem& item : SkinItems()) {
        const std::string section = SectionOf(item);
        switch (item.kind) {
            case SkinItemKind::kBitmap: written &= ini.Set(section, item.key, PictureFileName(item)); break;
            case SkinItemKind::kColour:
                written &=
                    ini.Set(section, item.key, FormatSkinColour(theme.colours[static_cast<std::size_t>(item.id)]));
                break;
            case SkinItemKind::kFont: {
                const SkinFont& font = theme.Font(GetItemCategory(item.id));
                written &= ini.Set(section, kFontFaceKey, font.face);
                written &= ini.Set(section, kFontSizeKey, std::to_string(font.size));
                written &= ini.Set(section, kFontBoldKey, std::to_string(font.bold));
                written &= ini.Set(section, kFontItalicKey, std::to_string(font.italic));
                written &= ini.Set(section, kFontUnderlineKey, std::to_string(font.underline));
                break;
            }
        }
    }
    return written && ini.Save(folder / "skin.ini");
}

}  // namespace lumora
