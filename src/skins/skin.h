// Skin: one loaded skin, a name and every value group its windows draw with. The groups
// are public, in a fixed order, and complete once the Skin is constructed: a window that
// receives a Skin copies the groups it needs.
//
// Ownership: the Skin owns its pictures; the groups' bitmap pointers borrow them and stay
// valid until the Skin is destroyed (the SkinManager keeps every Skin until it is
// destroyed or LoadAllSkins runs again). A Skin neither copies nor moves, so the pointers
// never dangle while it lives. Not synchronised: made and used on one thread (the
// user-interface thread in the program); read-only after construction.
#pragma once

#include "skins/skin_groups.h"
#include "skins/skin_item_values.h"

#include <QString>

#include <memory>
#include <string_view>

namespace lumora {

class Skin {
public:
    static constexpr int kMaxNameLength = 64;  // characters; longer names are cut

    // Assembles the groups from `values`. The tabs window never has a top-left picture
    // (the first tab stands there), the tab strip takes the tabs window's background and
    // the preview frame has no background colour.
    Skin(std::string_view name, SkinItemValues values);
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    // The picture of a bitmap item; null when it has none or `itemId` is no bitmap item.
    const QImage* Picture(int itemId) const;
    const SkinItemValues& Values() const { return *values_; }

private:
    std::unique_ptr<const SkinItemValues> values_;  // before the groups: they point into it

public:
    QString name;
    SliderSkin slider;
    ListViewSkin listView;
    ScrollBarSkin scrollBar;
    TabSkin tabs;
    FramePieces darkWindow;
    FramePieces lightWindow;
    FramePieces tabsWindow;
    ColourFilterSkin colourFilter;
    CheckBoxSkin checkBox;
    ZoomSkin zoom;
    PlaybackSkin playback;
    SelectEffectSkin selectEffect;
    MainWindowSkin mainWindow;
    MenuSkin menu;
    ButtonBitmaps showOptions;
    FramePieces preview;
};

// The first `maximum` characters of UTF-8 text (invalid bytes read as U+FFFD); a
// character outside the basic plane counts as one and is never split.
QString CutSkinText(std::string_view utf8, int maximum);

}  // namespace lumora
