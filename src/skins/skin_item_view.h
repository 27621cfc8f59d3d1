// SkinItemView: what the skin editor shows of one item of a skin folder, read from its
// skin.ini: the description, and by the item's kind the picture's file name, the colour
// or the font with its text. A plain value, read afresh whenever the item is shown;
// user-interface thread.
#pragma once

#include "skins/skin_colour.h"
#include "skins/skin_font.h"
#include "skins/skin_item_table.h"

#include <string>

namespace lumora {

struct SkinItemView {
    static constexpr int kMinFontSize = 8;  // points; an absent or zero size reads as this
    static constexpr int kMaxFontSize = 72;

    const SkinItem* item = nullptr;  // null: no item is shown
    // Bitmap items: "<description>. Image size - <w>x<h> pixels." with the item's own
    // size; others: the item's description.
    std::string description;
    std::string fileName;          // bitmap items: the value as written; "" for none
    std::string picturePath;       // bitmap items with a file name: the skin folder + it
    SkinColour colour = NoColour;  // colour items: the value; NoColour when empty or malformed
    SkinFont font;                 // font items: the size within kMinFontSize..kMaxFontSize
    std::string fontText;          // font items: see SkinFontText

    // The item as `folder` (with a trailing "/") describes it.
    static SkinItemView Read(const std::string& folder, const SkinItem& item);
};

// "<not specified>" for a font without a face; otherwise "<face>, <size>pt", followed by
// ", bold", ", italic" and ", underline" for the flags that are on.
std::string SkinFontText(const SkinFont& font);

}  // namespace lumora
