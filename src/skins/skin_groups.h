// The value groups a Skin hands to the windows that draw with it. Bitmaps are borrowed:
// every pointer points into the Skin that made the group and stays valid as long as that
// Skin lives; null means "no picture" (drawing it draws nothing). Plain values, copied
// whole by the windows that take them.
#pragma once

#include "skins/skin_colour.h"
#include "skins/skin_font.h"

class QImage;

namespace lumora {

// The four pictures of a skinned button.
struct ButtonBitmaps {
    const QImage* normal = nullptr;
    const QImage* over = nullptr;
    const QImage* pressed = nullptr;
    const QImage* disabled = nullptr;
};

// The eight pictures of a skinned frame and the colour inside it (NoColour: no fill).
struct FramePieces {
    const QImage* top = nullptr;
    const QImage* topLeft = nullptr;
    const QImage* topRight = nullptr;
    const QImage* left = nullptr;
    const QImage* right = nullptr;
    const QImage* bottom = nullptr;
    const QImage* bottomLeft = nullptr;
    const QImage* bottomRight = nullptr;
    SkinColour background = NoColour;
};

struct SliderSkin {
    SkinColour border = 0;
    SkinColour background = 0;
    SkinColour marks = 0;
    SkinColour thumbColour = 0;  // the thumb when there is no thumb picture
    const QImage* thumb = nullptr;
};

struct ListViewSkin {
    SkinColour windowBorder = 0;
    SkinColour background = 0;
    SkinColour text = 0;
    SkinColour imageBorder = 0;
    SkinColour selectedBackground = 0;
    SkinColour selectedText = 0;
    SkinColour selectedBorder = 0;
    SkinColour selectedImageBorder = 0;
    SkinColour activeBorder = 0;
    SkinFont font;
};

struct ScrollBarSkin {
    ButtonBitmaps up;
    ButtonBitmaps down;
    SkinColour border = 0;
    SkinColour background = 0;
    SkinColour thumbColour = 0;  // the thumb when there is no thumb picture
    const QImage* thumb = nullptr;
};

// Tab pictures by skin.ini key: "0", "0_active", "1", "1_active".
struct TabSkin {
    const QImage* filters = nullptr;
    const QImage* filtersActive = nullptr;
    const QImage* effects = nullptr;
    const QImage* effectsActive = nullptr;
    SkinColour background = 0;  // always the tabs window's background colour
};

struct ColourFilterSkin {
    const QImage* red = nullptr;
    const QImage* green = nullptr;
    const QImage* blue = nullptr;
    ButtonBitmaps defaultButton;
};

struct CheckBoxSkin {
    ButtonBitmaps checked;
    ButtonBitmaps unchecked;
};

struct ZoomSkin {
    ButtonBitmaps zoomIn;
    ButtonBitmaps zoomOut;
    ButtonBitmaps zoomDefault;
    SkinColour textColour = 0;
    SkinFont font;
};

struct PlaybackSkin {
    ButtonBitmaps start;
    ButtonBitmaps stop;
};

struct SelectEffectSkin {
    ButtonBitmaps startStop;
    ButtonBitmaps options;
};

struct MainWindowSkin {
    const QImage* background = nullptr;  // the texture tiled over the window
    SkinColour border = 0;
    const QImage* caption = nullptr;
    SkinColour captionLine = 0;
    ButtonBitmaps close;
    ButtonBitmaps minimize;
};

struct MenuSkin {
    ButtonBitmaps file;
    ButtonBitmaps source;
    ButtonBitmaps options;
    ButtonBitmaps skin;
};

}  // namespace lumora
