// ThemedSkinWriter: writes a skin Lumora draws itself (a SkinTheme) as an ordinary skin
// folder: skin.ini and one PNG file per picture, "<section>_<key>.png" at the item's size
// and "<section>_<key>@2x.png" at twice that for sharper screens. The shipped skins are
// made this way at build time and read back by the same loader as any user's skin.
// Stateless; needs the Qt application (fonts, image writers).
#pragma once

#include "skins/skin_item_table.h"
#include "skins/skin_theme.h"

#include <filesystem>
#include <string>

namespace lumora {

class ThemedSkinWriter {
public:
    // Creates the folder when needed. False when a file cannot be written.
    static bool Write(const SkinTheme& theme, const std::filesystem::path& folder);

    // The file name of a bitmap item's picture at ratio 1.
    static std::string PictureFileName(const SkinItem& item);

private:
    static bool WritePictures(const SkinTheme& theme, const std::filesystem::path& folder);
    static bool WriteDescription(const SkinTheme& theme, const std::filesystem::path& folder);
};

}  // namespace lumora
