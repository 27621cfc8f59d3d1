// Skins Lumora draws itself from a SkinTheme: the built-in "Default" (CreateDefaultSkin)
// and, written to folders by ThemedSkinWriter, the skins shipped beside the program.
// Pictures come from SkinArtist at the given device pixel ratio; colours and fonts from
// the theme. User-interface thread.
#pragma once

#include "skins/skin.h"
#include "skins/skin_theme.h"

#include <QImage>

#include <memory>

namespace lumora {

class ThemedSkin {
public:
    static std::unique_ptr<Skin> Create(const SkinTheme& theme, qreal devicePixelRatio);
    static SkinItemValues Values(const SkinTheme& theme, qreal devicePixelRatio);
};

// The built-in skin "Default".
std::unique_ptr<Skin> CreateDefaultSkin(qreal devicePixelRatio);

// The built-in picture `resourceId` (132 to 249) of the Default skin, at its item's size;
// null for any other id.
QImage BuiltinPicture(int resourceId, qreal devicePixelRatio);

}  // namespace lumora
