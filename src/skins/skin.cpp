#include "skins/skin.h"

namespace lumora {

namespace {

namespace cat = skin_category;

// Reads the groups out of a skin's item values by section key, so that the groups follow
// the item table wherever its ids lie.
class GroupReader {
public:
    explicit GroupReader(const SkinItemValues& values) : values_(values) {}

    const QImage* Picture(int category, std::string_view key) const {
        const SkinItem* item = FindSkinItemByKey(category, key);
        if (!item || item->kind != SkinItemKind::kBitmap) return nullptr;
        const QImage& picture = values_.pictures[static_cast<std::size_t>(item->id)];
        return picture.isNull() ? nullptr : &picture;
    }
    SkinColour Colour(int category, std::string_view key) const {
        const SkinItem* item = FindSkinItemByKey(category, key);
        if (!item || item->kind != SkinItemKind::kColour) return 0;
        return values_.colours[static_cast<std::size_t>(item->id)];
    }
    SkinFont Font(int category) const {
        const auto range = GetCategoryItemRange(category);
        for (int id = range->first; id <= range->second; ++id) {
            if (FindSkinItem(id)->kind == SkinItemKind::kFont) return values_.fonts[static_cast<std::size_t>(id)];
        }
        return {};
    }
    ButtonBitmaps Buttons(int category, const std::string& prefix) const {
        return {Picture(category, prefix + "_normal"), Picture(category, prefix + "_over"),
                Picture(category, prefix + "_pressed"), Picture(category, prefix + "_disabled")};
    }
    // The frame of a category; its background is the category's "background" colour, or
    // NoColour when it has none.
    FramePieces Frame(int category) const {
        FramePieces frame{Picture(category, "top"),        Picture(category, "topleft"),
                          Picture(category, "topright"),   Picture(category, "left"),
                          Picture(category, "right"),      Picture(category, "bottom"),
                          Picture(category, "bottomleft"), Picture(category, "bottomright")};
        frame.background = FindSkinItemByKey(category, "background") ? Colour(category, "background") : NoColour;
        return frame;
    }

private:
    const SkinItemValues& values_;
};

}  // namespace

QString CutSkinText(std::string_view utf8, int maximum) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    qsizetype end = 0;
    for (int count = 0; count < maximum && end < text.size(); ++count) {
        const bool pair = text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

Skin::Skin(std::string_view skinName, SkinItemValues values)
    : values_(std::make_unique<const SkinItemValues>(std::move(values))), name(CutSkinText(skinName, kMaxNameLength)) {
    const GroupReader read(*values_);
    slider = {read.Colour(cat::kSlider, "border"), read.Colour(cat::kSlider, "background"),
              read.Colour(cat::kSlider, "marks"), read.Colour(cat::kSlider, "thumbcolor"),
              read.Picture(cat::kSlider, "thumb")};
    const auto list = [&](std::string_view key) { return read.Colour(cat::kListview, key); };
    listView = {list("windowborder"),     list("background"),           list("text"),
                list("imageborder"),      list("selected_background"),  list("selected_text"),
                list("selected_border"),  list("selected_imageborder"), list("active_border"),
                read.Font(cat::kListview)};
    scrollBar = {read.Buttons(cat::kScrollbar, "up"),        read.Buttons(cat::kScrollbar, "down"),
                 read.Colour(cat::kScrollbar, "border"),     read.Colour(cat::kScrollbar, "background"),
                 read.Colour(cat::kScrollbar, "thumbcolor"), read.Picture(cat::kScrollbar, "thumb")};
    tabs = {read.Picture(cat::kTabs, "0"), read.Picture(cat::kTabs, "0_active"), read.Picture(cat::kTabs, "1"),
            read.Picture(cat::kTabs, "1_active"), read.Colour(cat::kTabsWindow, "background")};
    darkWindow = read.Frame(cat::kDarkWindow);
    lightWindow = read.Frame(cat::kLightWindow);
    tabsWindow = read.Frame(cat::kTabsWindow);  // has no "topleft" key
    colourFilter = {read.Picture(cat::kColorFilter, "red"), read.Picture(cat::kColorFilter, "green"),
                    read.Picture(cat::kColorFilter, "blue"), read.Buttons(cat::kColorFilter, "default")};
    checkBox = {read.Buttons(cat::kCheckbox, "on"), read.Buttons(cat::kCheckbox, "off")};
    zoom = {read.Buttons(cat::kZoom, "zoom_in"), read.Buttons(cat::kZoom, "zoom_out"),
            read.Buttons(cat::kZoom, "zoom_100"), read.Colour(cat::kZoom, "text_color"), read.Font(cat::kZoom)};
    playback = {read.Buttons(cat::kPlayback, "start"), read.Buttons(cat::kPlayback, "stop")};
    selectEffect = {read.Buttons(cat::kSelectEffect, "start"), read.Buttons(cat::kSelectEffect, "options")};
    mainWindow = {read.Picture(cat::kMainWindow, "background"), read.Colour(cat::kMainWindow, "border"),
                  read.Picture(cat::kMainWindow, "caption"),    read.Colour(cat::kMainWindow, "caption_line"),
                  read.Buttons(cat::kSystemButtons, "close"),   read.Buttons(cat::kSystemButtons, "minimize")};
    menu = {read.Buttons(cat::kMenuButtons, "file"), read.Buttons(cat::kMenuButtons, "source"),
            read.Buttons(cat::kMenuButtons, "options"), read.Buttons(cat::kMenuButtons, "skin")};
    showOptions = read.Buttons(cat::kSystemButtons, "options");
    preview = read.Frame(cat::kPreviewWindow);  // no background item: NoColour
}

const QImage* Skin::Picture(int itemId) const {
    const SkinItem* item = FindSkinItem(itemId);
    if (!item || item->kind != SkinItemKind::kBitmap) return nullptr;
    const QImage& picture = values_->pictures[static_cast<std::size_t>(itemId)];
    return picture.isNull() ? nullptr : &picture;
}

}  // namespace lumora
