// SkinLoader: makes a Skin from a skin folder: the folder's skin.ini names the skin
// (general/name) and gives every item of the item table, pictures as file names relative
// to the folder.
//
// Nothing falls back to another skin: an item that is absent, empty or unloadable stays
// without a picture (bitmap) or black (colour); a malformed colour is NoColour; a font
// without a size has size 0. A folder without skin.ini, or whose name is empty, is not a
// skin. Stateless; user-interface thread (it decodes pictures with Qt).
#pragma once

#include "skins/skin.h"
#include "skins/skin_ini.h"

#include <QtGlobal>

#include <filesystem>
#include <memory>

namespace lumora {

class SkinLoader {
public:
    // The skin of `folder` with pictures at `devicePixelRatio`; null when it is not a skin.
    static std::unique_ptr<Skin> Load(const std::filesystem::path& folder, qreal devicePixelRatio);

private:
    static void ReadItem(const SkinIni& ini, const std::filesystem::path& folder, const SkinItem& item,
                         qreal devicePixelRatio, SkinItemValues& values);
    static SkinFont ReadFont(const SkinIni& ini, const char* section);
};

}  // namespace lumora
