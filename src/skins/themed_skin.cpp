#include "skins/themed_skin.h"

#include "skins/skin_artist.h"

namespace lumora {

SkinItemValues ThemedSkin::Values(const SkinTheme& theme, qreal devicePixelRatio) {
    const SkinArtist artist(theme);
    SkinItemValues values;
    for (const SkinItem& item : SkinItems()) {
        const auto index = static_cast<std::size_t>(item.id);
        switch (item.kind) {
            case SkinItemKind::kBitmap: values.pictures[index] = artist.Draw(item, devicePixelRatio); break;
            case SkinItemKind::kColour: values.colours[index] = theme.colours[index]; break;
            case SkinItemKind::kFont: values.fonts[index] = theme.Font(GetItemCategory(item.id)); break;
        }
    }
    return values;
}

std::unique_ptr<Skin> ThemedSkin::Create(const SkinTheme& theme, qreal devicePixelRatio) {
    return std::make_unique<Skin>(theme.name, Values(theme, devicePixelRatio));
}

std::unique_ptr<Skin> CreateDefaultSkin(qreal devicePixelRatio) {
    return ThemedSkin::Create(SkinTheme::Default(), devicePixelRatio);
}

QImage BuiltinPicture(int resourceId, qreal devicePixelRatio) {
    for (const SkinItem& item : SkinItems()) {
        if (item.kind == SkinItemKind::kBitmap && item.builtinPicture == resourceId) {
            const SkinTheme theme = SkinTheme::Default();
            return SkinArtist(theme).Draw(item, devicePixelRatio);
        }
    }
    return {};
}

}  // namespace lumora
