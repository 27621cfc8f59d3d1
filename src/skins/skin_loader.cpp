#include "skins/skin_loader.h"

#include "platform/profile_syntax.h"
#include "skins/skin_picture_loader.h"

namespace lumora {

std::unique_ptr<Skin> SkinLoader::Load(const std::filesystem::path& folder, qreal devicePixelRatio) {
    const std::optional<SkinIni> ini = SkinIni::Load(folder / "skin.ini");
    if (!ini) return nullptr;
    const std::string name = ini->Value("general", "name");
    if (name.empty()) return nullptr;

    SkinItemValues values;
    for (const SkinItem& item : SkinItems()) ReadItem(*ini, folder, item, devicePixelRatio, values);
    return std::make_unique<Skin>(name, std::move(values));
}

void SkinLoader::ReadItem(const SkinIni& ini, const std::filesystem::path& folder, const SkinItem& item,
                          qreal devicePixelRatio, SkinItemValues& values) {
    const char* section = GetCategorySection(GetItemCategory(item.id));
    const auto index = static_cast<std::size_t>(item.id);
    switch (item.kind) {
        case SkinItemKind::kBitmap: {
            const std::string file = ini.Value(section, item.key);
            // Names are relative to the folder, joined as text: an absolute name does not
            // take the reader out of it.
            if (!file.empty()) {
                values.pictures[index] =
                    SkinPictureLoader::Load(folder.string() + "/" + file, {item.width, item.height}, devicePixelRatio);
            }
            break;
        }
        case SkinItemKind::kColour: {
            const std::string text = ini.Value(section, item.key);
            values.colours[index] = text.empty() ? 0 : ParseSkinColour(text);
            break;
        }
        case SkinItemKind::kFont: values.fonts[index] = ReadFont(ini, section); break;
    }
}

SkinFont SkinLoader::ReadFont(const SkinIni& ini, const char* section) {
    const auto flag = [&](std::string_view key) {
        return static_cast<std::uint8_t>(ParseProfileInt(ini.Value(section, key)) != 0 ? 1 : 0);
    };
    SkinFont font;
    font.face = CutSkinText(ini.Value(section, kFontFaceKey), static_cast<int>(SkinFont::kMaxFaceLength)).toStdString();
    font.size = ParseProfileInt(ini.Value(section, kFontSizeKey));
    font.bold = flag(kFontBoldKey);
    font.italic = flag(kFontItalicKey);
    font.underline = flag(kFontUnderlineKey);
    return font;
}

}  // namespace lumora
