#include "skins/skin_theme.h"

namespace lumora {

namespace {

namespace cat = skin_category;

// The colour items a theme sets.
struct ItemColours {
    SkinColour windowBorder, captionLine;
    SkinColour lightWindow, darkWindow, tabsWindow;
    SkinColour zoomText;
    SkinColour scrollBackground, scrollBorder, scrollThumb;
    SkinColour listBorder, listBackground, listText, listImageBorder, listSelectedBackground, listSelectedText,
        listSelectedBorder, listSelectedImageBorder, listActiveBorder;
    SkinColour sliderBackground, sliderBorder, sliderMarks, sliderThumb;
};

void SetItemColours(SkinTheme& theme, const ItemColours& c) {
    theme.SetColour(cat::kMainWindow, "border", c.windowBorder);
    theme.SetColour(cat::kMainWindow, "caption_line", c.captionLine);
    theme.SetColour(cat::kLightWindow, "background", c.lightWindow);
    theme.SetColour(cat::kDarkWindow, "background", c.darkWindow);
    theme.SetColour(cat::kTabsWindow, "background", c.tabsWindow);
    theme.SetColour(cat::kZoom, "text_color", c.zoomText);
    theme.SetColour(cat::kScrollbar, "background", c.scrollBackground);
    theme.SetColour(cat::kScrollbar, "border", c.scrollBorder);
    theme.SetColour(cat::kScrollbar, "thumbcolor", c.scrollThumb);
    theme.SetColour(cat::kListview, "windowborder", c.listBorder);
    theme.SetColour(cat::kListview, "background", c.listBackground);
    theme.SetColour(cat::kListview, "text", c.listText);
    theme.SetColour(cat::kListview, "imageborder", c.listImageBorder);
    theme.SetColour(cat::kListview, "selected_background", c.listSelectedBackground);
    theme.SetColour(cat::kListview, "selected_text", c.listSelectedText);
    theme.SetColour(cat::kListview, "selected_border", c.listSelectedBorder);
    theme.SetColour(cat::kListview, "selected_imageborder", c.listSelectedImageBorder);
    theme.SetColour(cat::kListview, "active_border", c.listActiveBorder);
    theme.SetColour(cat::kSlider, "background", c.sliderBackground);
    theme.SetColour(cat::kSlider, "border", c.sliderBorder);
    theme.SetColour(cat::kSlider, "marks", c.sliderMarks);
    theme.SetColour(cat::kSlider, "thumbcolor", c.sliderThumb);
}

}  // namespace

SkinColour SkinTheme::Colour(int category, std::string_view key) const {
    const SkinItem* item = FindSkinItemByKey(category, key);
    return item ? colours[static_cast<std::size_t>(item->id)] : 0;
}

void SkinTheme::SetColour(int category, std::string_view key, SkinColour colour) {
    if (const SkinItem* item = FindSkinItemByKey(category, key)) colours[static_cast<std::size_t>(item->id)] = colour;
}

SkinTheme SkinTheme::Default() {
    SkinTheme theme;
    theme.name = "Default";
    const SkinColour grey = SkinRgb(206, 206, 206);
    const SkinColour white = SkinRgb(255, 255, 255);
    const SkinColour black = SkinRgb(0, 0, 0);
    const SkinColour teal = SkinRgb(149, 204, 207);
    SetItemColours(theme, {.windowBorder = grey,
                           .captionLine = SkinRgb(239, 189, 49),
                           .lightWindow = SkinRgb(250, 250, 250),
                           .darkWindow = SkinRgb(242, 242, 242),
                           .tabsWindow = SkinRgb(252, 247, 237),
                           .zoomText = SkinRgb(121, 121, 121),
                           .scrollBackground = white,
                           .scrollBorder = grey,
                           .scrollThumb = teal,
                           .listBorder = SkinRgb(212, 213, 215),
                           .listBackground = white,
                           .listText = black,
                           .listImageBorder = SkinRgb(184, 184, 184),
                           .listSelectedBackground = SkinRgb(210, 228, 229),
                           .listSelectedText = black,
                           .listSelectedBorder = SkinRgb(153, 153, 153),
                           .listSelectedImageBorder = SkinRgb(184, 184, 184),
                           .listActiveBorder = SkinRgb(239, 93, 93),
                           .sliderBackground = white,
                           .sliderBorder = grey,
                           .sliderMarks = SkinRgb(132, 132, 132),
                           .sliderThumb = teal});
    theme.zoomFont = {"Tahoma", 8, 0, 0, 0};
    theme.listFont = theme.zoomFont;
    theme.art = {.texture = QColor(236, 237, 239),
                 .text = QColor(52, 58, 64),
                 .mutedText = QColor(168, 172, 178),
                 .face = QColor(255, 255, 255),
                 .faceBorder = QColor(196, 199, 204),
                 .hoverFace = QColor(222, 238, 239),
                 .accent = QColor(46, 139, 148),
                 .onAccent = QColor(255, 255, 255),
                 .disabledFace = QColor(244, 245, 246),
                 .danger = QColor(224, 72, 72),
                 .frameLine = QColor(206, 208, 212),
                 .tabFace = QColor(225, 227, 230),
                 .bezel = QColor(58, 62, 68),
                 .lineWidth = 1};
    return theme;
}

SkinTheme SkinTheme::Dark() {
    SkinTheme theme;
    theme.name = "Dark";
    const SkinColour line = SkinRgb(74, 78, 86);
    const SkinColour well = SkinRgb(28, 30, 33);
    const SkinColour accent = SkinRgb(78, 186, 196);
    SetItemColours(theme, {.windowBorder = line,
                           .captionLine = accent,
                           .lightWindow = SkinRgb(52, 55, 61),
                           .darkWindow = SkinRgb(46, 49, 54),
                           .tabsWindow = SkinRgb(40, 42, 47),
                           .zoomText = SkinRgb(196, 200, 206),
                           .scrollBackground = well,
                           .scrollBorder = line,
                           .scrollThumb = accent,
                           .listBorder = line,
                           .listBackground = well,
                           .listText = SkinRgb(222, 225, 230),
                           .listImageBorder = SkinRgb(84, 89, 97),
                           .listSelectedBackground = SkinRgb(38, 74, 80),
                           .listSelectedText = SkinRgb(255, 255, 255),
                           .listSelectedBorder = accent,
                           .listSelectedImageBorder = SkinRgb(124, 204, 212),
                           .listActiveBorder = SkinRgb(240, 128, 96),
                           .sliderBackground = well,
                           .sliderBorder = line,
                           .sliderMarks = SkinRgb(118, 124, 132),
                           .sliderThumb = accent});
    theme.zoomFont = {"DejaVu Sans", 8, 0, 0, 0};
    theme.listFont = theme.zoomFont;
    theme.art = {.texture = QColor(33, 35, 39),
                 .text = QColor(226, 229, 233),
                 .mutedText = QColor(104, 109, 117),
                 .face = QColor(56, 60, 67),
                 .faceBorder = QColor(82, 87, 96),
                 .hoverFace = QColor(54, 84, 90),
                 .accent = QColor(78, 186, 196),
                 .onAccent = QColor(16, 22, 26),
                 .disabledFace = QColor(44, 47, 52),
                 .danger = QColor(214, 72, 72),
                 .frameLine = QColor(74, 78, 86),
                 .tabFace = QColor(45, 48, 53),
                 .bezel = QColor(14, 15, 17),
                 .lineWidth = 1};
    return theme;
}

SkinTheme SkinTheme::HighContrast() {
    SkinTheme theme;
    theme.name = "High Contrast";
    const SkinColour black = SkinRgb(0, 0, 0);
    const SkinColour white = SkinRgb(255, 255, 255);
    const SkinColour blue = SkinRgb(0, 58, 160);
    SetItemColours(theme, {.windowBorder = black,
                           .captionLine = black,
                           .lightWindow = white,
                           .darkWindow = white,
                           .tabsWindow = white,
                           .zoomText = black,
                           .scrollBackground = white,
                           .scrollBorder = black,
                           .scrollThumb = blue,
                           .listBorder = black,
                           .listBackground = white,
                           .listText = black,
                           .listImageBorder = black,
                           .listSelectedBackground = blue,
                           .listSelectedText = white,
                           .listSelectedBorder = black,
                           .listSelectedImageBorder = white,
                           .listActiveBorder = SkinRgb(196, 0, 0),
                           .sliderBackground = white,
                           .sliderBorder = black,
                           .sliderMarks = black,
                           .sliderThumb = blue});
    theme.zoomFont = {"DejaVu Sans", 8, 1, 0, 0};
    theme.listFont = theme.zoomFont;
    theme.art = {.texture = QColor(255, 255, 255),
                 .text = QColor(0, 0, 0),
                 .mutedText = QColor(112, 112, 112),
                 .face = QColor(255, 255, 255),
                 .faceBorder = QColor(0, 0, 0),
                 .hoverFace = QColor(255, 232, 0),
                 .accent = QColor(0, 58, 160),
                 .onAccent = QColor(255, 255, 255),
                 .disabledFace = QColor(255, 255, 255),
                 .danger = QColor(196, 0, 0),
                 .frameLine = QColor(0, 0, 0),
                 .tabFace = QColor(255, 255, 255),
                 .bezel = QColor(0, 0, 0),
                 .lineWidth = 2};
    return theme;
}

}  // namespace lumora
