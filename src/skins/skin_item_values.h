// SkinItemValues: the value of every item of one skin, by item id (see skin_item_table.h),
// as the loader reads them from a skin folder or the built-in skin draws them. A Skin is
// made from one. Entries of another kind than their item are ignored: a bitmap item uses
// only `pictures`, a colour item only `colours`, a font item only `fonts`. A plain value.
#pragma once

#include "skins/skin_colour.h"
#include "skins/skin_font.h"
#include "skins/skin_item_table.h"

#include <QImage>

#include <array>

namespace lumora {

struct SkinItemValues {
    std::array<QImage, kSkinItemCount> pictures;       // null: no picture
    std::array<SkinColour, kSkinItemCount> colours{};  // black unless set
    std::array<SkinFont, kSkinItemCount> fonts;
};

}  // namespace lumora
