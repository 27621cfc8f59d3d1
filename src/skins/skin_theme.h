// SkinTheme: everything that tells the skins Lumora draws itself apart: the built-in
// "Default" skin and the skins shipped in the skins folder. A theme gives the colour and
// font items of the item table and the colours the pictures are drawn in (SkinArtist).
// Plain value; the three themes are made on demand.
#pragma once

#include "skins/skin_colour.h"
#include "skins/skin_font.h"
#include "skins/skin_item_table.h"

#include <QColor>

#include <array>
#include <string>
#include <string_view>

namespace lumora {

struct SkinTheme {
    // What the pictures are drawn in.
    struct Art {
        QColor texture;    // the window background the chrome sits on
        QColor text;       // labels and glyphs
        QColor mutedText;  // disabled labels and glyphs
        QColor face;       // a button at rest
        QColor faceBorder;
        QColor hoverFace;  // a button under the mouse
        QColor accent;     // pressed buttons, check marks, thumbs, the active tab
        QColor onAccent;   // glyphs on the accent
        QColor disabledFace;
        QColor danger;      // the close button under the mouse
        QColor frameLine;   // outlines of panels, tabs and the preview bezel
        QColor tabFace;     // a tab that is not the current one
        QColor bezel;       // the band around the video
        int lineWidth = 1;  // of button outlines
    };

    std::string name;
    std::array<SkinColour, kSkinItemCount> colours{};  // of the colour items, by item id
    SkinFont zoomFont;
    SkinFont listFont;
    Art art;

    // The colour of the item `key` in `category`; the item must be a colour item.
    SkinColour Colour(int category, std::string_view key) const;
    void SetColour(int category, std::string_view key, SkinColour colour);
    // The font item of a category: the zoom font for the zoom section, else the list font.
    const SkinFont& Font(int category) const { return category == skin_category::kZoom ? zoomFont : listFont; }

    static SkinTheme Default();
    static SkinTheme Dark();
    static SkinTheme HighContrast();
};

}  // namespace lumora
