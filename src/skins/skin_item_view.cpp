#include "skins/skin_item_view.h"

#include "platform/profile_syntax.h"
#include "skins/skin.h"
#include "skins/skin_ini.h"

#include <algorithm>
#include <optional>

namespace lumora {
namespace {

SkinFont ReadFont(const std::optional<SkinIni>& ini, const char* section) {
    const auto value = [&](std::string_view key) { return ini ? ini->Value(section, key) : std::string(); };
    const auto flag = [&](std::string_view key) {
        return static_cast<std::uint8_t>(ParseProfileInt(value(key)) != 0 ? 1 : 0);
    };
    SkinFont font;
    font.face = CutSkinText(value(kFontFaceKey), static_cast<int>(SkinFont::kMaxFaceLength)).toStdString();
    const int size = ParseProfileInt(value(kFontSizeKey));
    font.size = std::clamp(size, SkinItemView::kMinFontSize, SkinItemView::kMaxFontSize);
    font.bold = flag(kFontBoldKey);
    font.italic = flag(kFontItalicKey);
    font.underline = flag(kFontUnderlineKey);
    return font;
}

}  // namespace

SkinItemView SkinItemView::Read(const std::string& folder, const SkinItem& item) {
    const std::optional<SkinIni> ini = SkinIni::Load(folder + "skin.ini");
    const char* section = GetCategorySection(GetItemCategory(item.id));
    const std::string value = ini && !item.key.empty() ? ini->Value(section, item.key) : std::string();
    SkinItemView view;
    view.item = &item;
    view.description = item.description;
    switch (item.kind) {
        case SkinItemKind::kBitmap:
            view.description +=
                ". Image size - " + std::to_string(item.width) + "x" + std::to_string(item.height) + " pixels.";
            view.fileName = value;
            if (!value.empty()) view.picturePath = folder + value;
            break;
        case SkinItemKind::kColour: view.colour = value.empty() ? NoColour : ParseSkinColour(value); break;
        case SkinItemKind::kFont:
            view.font = ReadFont(ini, section);
            view.fontText = SkinFontText(view.font);
            break;
    }
    return view;
}

std::string SkinFontText(const SkinFont& font) {
    if (font.face.empty()) return "<not specified>";
    std::string text = font.face + ", " + std::to_string(font.size) + "pt";
    if (font.bold) text += ", bold";
    if (font.italic) text += ", italic";
    if (font.underline) text += ", underline";
    return text;
}

}  // namespace lumora
