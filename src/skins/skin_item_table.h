// The fixed tables that describe every skin: 16 categories, each a section of skin.ini
// (two of them share "main_window"), and 142 items, each a bitmap of a fixed size, a
// colour or a font (a font stands for the five keys text_fontface, text_fontsize,
// text_bold, text_italic and text_underline of its section).
//
// Most bitmaps come in four-state groups: keys P_normal, P_over, P_pressed, P_disabled.
// Every bitmap item names the built-in picture (132 to 249) the "Default" skin uses.
//
// The tables are built once, on first use, and never change; safe from any thread after
// that (the first call should come from one thread).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace lumora {

enum class SkinItemKind : int { kBitmap = 0, kColour = 1, kFont = 2 };

struct SkinItem {
    std::int32_t id = 0;
    std::string name;         // shown in the skin editor's item list
    std::string key;          // the skin.ini key in its category's section; empty for a font
    int builtinPicture = 0;   // the Default skin's picture; 0 for colours and fonts
    std::string description;  // shown in the skin editor
    int width = 0;            // 0 for colours and fonts
    int height = 0;
    SkinItemKind kind = SkinItemKind::kBitmap;
};

struct SkinCategory {
    int id = 0;
    std::string text;     // shown to users
    std::string section;  // the skin.ini section
    int firstItem = 0;
    int lastItem = 0;
};

inline constexpr int kSkinItemCount = 142;
inline constexpr int kSkinCategoryCount = 16;
inline constexpr int kFirstBuiltinPicture = 132;
inline constexpr int kLastBuiltinPicture = 249;

// The keys of a font item.
inline constexpr std::string_view kFontFaceKey = "text_fontface";
inline constexpr std::string_view kFontSizeKey = "text_fontsize";
inline constexpr std::string_view kFontBoldKey = "text_bold";
inline constexpr std::string_view kFontItalicKey = "text_italic";
inline constexpr std::string_view kFontUnderlineKey = "text_underline";

// Categories and items (well-known ids used by the code that assembles skins).
namespace skin_category {
constexpr int kMainWindow = 0;
constexpr int kSystemButtons = 1;
constexpr int kPreviewWindow = 2;
constexpr int kMenuButtons = 3;
constexpr int kLightWindow = 4;
constexpr int kDarkWindow = 5;
constexpr int kTabsWindow = 6;
constexpr int kPlayback = 7;
constexpr int kColorFilter = 8;
constexpr int kZoom = 9;
constexpr int kSelectEffect = 10;
constexpr int kTabs = 11;
constexpr int kScrollbar = 12;
constexpr int kListview = 13;
constexpr int kSlider = 14;
constexpr int kCheckbox = 15;
}  // namespace skin_category

// All 142 items, ids 0 to 141 in order (the index is the id).
std::span<const SkinItem> SkinItems();
// All 16 categories, ids 0 to 15 in order.
std::span<const SkinCategory> SkinCategories();

// The row of an item id, or null for an id outside 0 to 141.
const SkinItem* FindSkinItem(std::int32_t itemId);
// First and last item id of a category; nothing for an id outside 0 to 15.
std::optional<std::pair<int, int>> GetCategoryItemRange(int categoryId);
// The category text or section name; null for an id outside 0 to 15.
const char* GetCategoryText(int categoryId);
const char* GetCategorySection(int categoryId);
// The category an item belongs to; -1 for an id outside 0 to 141.
int GetItemCategory(std::int32_t itemId);
// The item of a category with this key (as written in the table), or null.
const SkinItem* FindSkinItemByKey(int categoryId, std::string_view key);

}  // namespace lumora
