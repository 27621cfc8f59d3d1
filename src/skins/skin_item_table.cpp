#include "skins/skin_item_table.h"

#include <array>
#include <vector>

namespace lumora {

namespace {

struct FrameKey {
    const char* key;
    const char* name;
    const char* description;
};

constexpr std::array<FrameKey, 8> kFrameKeys = {{
    {"top", "Top", "Top edge"},
    {"topleft", "Top-left", "Top-left corner"},
    {"topright", "Top-right", "Top-right corner"},
    {"left", "Left", "Left edge"},
    {"right", "Right", "Right edge"},
    {"bottom", "Bottom", "Bottom edge"},
    {"bottomleft", "Bottom-left", "Bottom-left corner"},
    {"bottomright", "Bottom-right", "Bottom-right corner"},
}};

// Appends rows in id order; each helper adds one table row of the item table (a group
// adds several items).
class ItemTableBuilder {
public:
    std::vector<SkinItem> Take() { return std::move(items_); }

    void Bitmap(const char* key, const char* name, const char* description, int width, int height, int picture) {
        Add({0, name, key, picture, description, width, height, SkinItemKind::kBitmap});
    }
    void Colour(const char* key, const char* name, const char* description) {
        Add({0, name, key, 0, description, 0, 0, SkinItemKind::kColour});
    }
    void Font(const char* name, const char* description) {
        Add({0, name, "", 0, description, 0, 0, SkinItemKind::kFont});
    }
    // A four-state button: pictures in the order normal, over, pressed, disabled.
    void States(const std::string& prefix, const std::string& base, const char* description, int width, int height,
                std::array<int, 4> pictures) {
        static constexpr std::array<std::pair<const char*, const char*>, 4> kStates = {{
            {"_normal", " (normal state)"},
            {"_over", " (mouseover state)"},
            {"_pressed", " (pressed state)"},
            {"_disabled", " (disabled state)"},
        }};
        for (std::size_t i = 0; i < kStates.size(); ++i) {
            Add({0, base + kStates[i].second, prefix + kStates[i].first, pictures[i], description, width, height,
                 SkinItemKind::kBitmap});
        }
    }
    // Frame pieces of one size; `pictures` follows the frame key order, 0 leaving a key out.
    void Frame(int size, std::array<int, 8> pictures) {
        for (std::size_t i = 0; i < kFrameKeys.size(); ++i) {
            if (pictures[i] != 0) {
                Bitmap(kFrameKeys[i].key, kFrameKeys[i].name, kFrameKeys[i].description, size, size, pictures[i]);
            }
        }
    }

private:
    void Add(SkinItem item) {
        item.id = static_cast<std::int32_t>(items_.size());
        items_.push_back(std::move(item));
    }

    std::vector<SkinItem> items_;
};

void AddMainWindowItems(ItemTableBuilder& t) {
    t.Bitmap("caption", "Caption", "Caption image", 180, 25, 237);
    t.Bitmap("background", "Background texture", "Background texture", 54, 54, 204);
    t.Colour("border", "Window border", "Window border color");
    t.Colour("caption_line", "Caption line", "Color of the line under caption");
    t.States("close", "Close", "Close window button", 20, 20, {216, 212, 215, 210});
    t.States("minimize", "Minimize", "Minimize window button", 20, 20, {205, 207, 209, 211});
    t.States("options", "Options", "Show/hide options window button", 13, 78, {206, 208, 213, 214});
    // The preview frame's corners and edges differ in size: listed one by one.
    t.Bitmap("top", "Top", "Top edge", 14, 14, 217);
    t.Bitmap("topleft", "Top-left", "Top-left corner", 19, 14, 218);
    t.Bitmap("topright", "Top-right", "Top-right corner", 19, 14, 219);
    t.Bitmap("left", "Left", "Left edge", 19, 19, 221);
    t.Bitmap("right", "Right", "Right edge", 19, 19, 222);
    t.Bitmap("bottom", "Bottom", "Bottom edge", 14, 14, 223);
    t.Bitmap("bottomleft", "Bottom-left", "Bottom-left corner", 19, 14, 220);
    t.Bitmap("bottomright", "Bottom-right", "Bottom-right corner", 19, 14, 224);
    t.States("file", "File", "Main menu 'File' button", 20, 13, {225, 226, 227, 228});
    t.States("source", "Video source", "Main menu 'Video source' button", 63, 13, {229, 230, 231, 232});
    t.States("options", "Video options", "Main menu 'Video options' button", 38, 13, {233, 234, 235, 236});
    t.States("skin", "Skin", "Main menu 'Skin' button", 25, 13, {238, 239, 240, 241});
}

void AddOptionsWindowItems(ItemTableBuilder& t) {
    t.Frame(6, {149, 150, 151, 152, 153, 154, 155, 156});
    t.Colour("background", "Background", "Background color");
    t.Frame(6, {141, 142, 143, 144, 145, 146, 147, 148});
    t.Colour("background", "Background", "Background color");
    t.Frame(10, {197, 0, 199, 200, 201, 203, 202, 198});
    t.Colour("background", "Background", "Background color");
    t.States("start", "Start", "Start playback button", 20, 20, {172, 173, 178, 176});
    t.States("stop", "Stop", "Stop playback button", 20, 20, {177, 179, 174, 175});
    t.Bitmap("red", "Red icon", "Red icon", 20, 20, 157);
    t.Bitmap("green", "Green icon", "Green icon", 20, 20, 158);
    t.Bitmap("blue", "Blue icon", "Blue icon", 20, 20, 159);
    t.States("default", "Default", "Default button", 54, 17, {133, 135, 136, 134});
    t.States("zoom_in", "Zoom-In", "Zoom-In button", 16, 16, {160, 165, 167, 166});
    t.States("zoom_out", "Zoom-Out", "Zoom-Out button", 16, 16, {161, 162, 163, 164});
    t.States("zoom_100", "Zoom default", "Default zoom button", 54, 17, {168, 169, 170, 171});
    t.Colour("text_color", "Text color", "Text color");
    t.Font("Font", "Text font");
    t.States("start", "Start/Stop", "Start/Stop button", 72, 18, {180, 182, 185, 181});
    t.States("options", "Options", "Options button", 72, 18, {187, 186, 184, 183});
}

void AddControlItems(ItemTableBuilder& t) {
    t.Bitmap("0", "'Filters' tab (normal state)", "'Filters' tab at non-active state", 48, 21, 137);
    t.Bitmap("0_active", "'Filters' tab (active state)", "'Filters' tab at active state", 48, 21, 138);
    t.Bitmap("1", "'Effects' tab (normal state)", "'Effects' tab at non-active state", 48, 21, 139);
    t.Bitmap("1_active", "'Effects' tab (active state)", "'Effects' tab at active state", 48, 21, 140);
    t.Colour("background", "Background color", "Main scrollbar background color");
    t.Colour("border", "Border color", "Scrollbar border color");
    t.Colour("thumbcolor", "Thumb color", "Thumb color (when image couldn't be loaded)");
    t.Bitmap("thumb", "Thumb image", "Thumb image", 10, 10, 196);
    t.States("up", "Up button", "Up button", 12, 12, {188, 189, 195, 190});
    t.States("down", "Down button", "Down button", 12, 12, {193, 194, 192, 191});
    t.Colour("windowborder", "Window border", "Main control's border color");
    t.Colour("background", "Background", "Main control's background color");
    t.Colour("text", "Text color", "Main control's text color");
    t.Colour("imageborder", "Image border", "Not selected item's image border color");
    t.Colour("selected_background", "Item background (selected state)", "Selected item's background color");
    t.Colour("selected_text", "Text color (selected state)", "Selected item's text color");
    t.Colour("selected_border", "Item border (selected state)", "Selected item's border color");
    t.Colour("selected_imageborder", "Image border (selected state)", "Selected item's image border color");
    t.Colour("active_border", "Active item border", "Current active item's border color");
    t.Font("Font", "Item's text font");
    t.Colour("background", "Background color", "Slider background color");
    t.Colour("border", "Border color", "Slider border color");
    t.Colour("marks", "Marks color", "Slider marks color");
    t.Colour("thumbcolor", "Thumb color", "Thumb color (when image couldn't be loaded)");
    t.Bitmap("thumb", "Thumb image", "Thumb image", 10, 10, 132);
    t.States("on", "Checked", "Checkbox button in 'Checked' state", 12, 12, {248, 249, 242, 247});
    t.States("off", "Unchecked", "Checkbox button in 'Unchecked' state", 12, 12, {244, 245, 246, 243});
}

std::vector<SkinItem> BuildItems() {
    ItemTableBuilder builder;
    AddMainWindowItems(builder);
    AddOptionsWindowItems(builder);
    AddControlItems(builder);
    return builder.Take();
}

std::vector<SkinCategory> BuildCategories() {
    return {
        {0, "Main window / General", "main_window", 0, 3},
        {1, "Main window / System buttons", "main_window", 4, 15},
        {2, "Main window / Preview window", "preview_window", 16, 23},
        {3, "Main window / Menu buttons", "menu", 24, 39},
        {4, "Options window / Window for 'Color filter', 'Select effect' ", "options_light_window", 40, 48},
        {5, "Options window / Window for 'Playback', 'Zoom'", "options_dark_window", 49, 57},
        {6, "Options window / Window for tabs (around all options)", "options_tabs_window", 58, 65},
        {7, "Options window / Playback section", "playback", 66, 73},
        {8, "Options window / Color filter section", "color_filter", 74, 80},
        {9, "Options window / Zoom section", "zoom", 81, 94},
        {10, "Options window / Select effects section", "select_effect", 95, 102},
        {11, "Controls / Tabs", "tabs", 103, 106},
        {12, "Controls / Scrollbar", "scrollbar", 107, 118},
        {13, "Controls / Listview", "listview", 119, 128},
        {14, "Controls / Slider", "slider", 129, 133},
        {15, "Controls / Checkbox", "checkbox", 134, 141},
    };
}

const std::vector<SkinItem>& Items() {
    static const std::vector<SkinItem> items = BuildItems();
    return items;
}

const std::vector<SkinCategory>& Categories() {
    static const std::vector<SkinCategory> categories = BuildCategories();
    return categories;
}

const SkinCategory* FindCategory(int categoryId) {
    if (categoryId < 0 || categoryId >= kSkinCategoryCount) return nullptr;
    return &Categories()[static_cast<std::size_t>(categoryId)];
}

}  // namespace

std::span<const SkinItem> SkinItems() {
    return Items();
}

std::span<const SkinCategory> SkinCategories() {
    return Categories();
}

const SkinItem* FindSkinItem(std::int32_t itemId) {
    if (itemId < 0 || itemId >= kSkinItemCount) return nullptr;
    return &Items()[static_cast<std::size_t>(itemId)];
}

std::optional<std::pair<int, int>> GetCategoryItemRange(int categoryId) {
    const SkinCategory* category = FindCategory(categoryId);
    if (!category) return std::nullopt;
    return std::pair{category->firstItem, category->lastItem};
}

const char* GetCategoryText(int categoryId) {
    const SkinCategory* category = FindCategory(categoryId);
    return category ? category->text.c_str() : nullptr;
}

const char* GetCategorySection(int categoryId) {
    const SkinCategory* category = FindCategory(categoryId);
    return category ? category->section.c_str() : nullptr;
}

int GetItemCategory(std::int32_t itemId) {
    if (itemId < 0 || itemId >= kSkinItemCount) return -1;
    for (const SkinCategory& category : Categories()) {
        if (itemId >= category.firstItem && itemId <= category.lastItem) return category.id;
    }
    return -1;
}

const SkinItem* FindSkinItemByKey(int categoryId, std::string_view key) {
    const SkinCategory* category = FindCategory(categoryId);
    if (!category) return nullptr;
    for (int id = category->firstItem; id <= category->lastItem; ++id) {
        const SkinItem& item = Items()[static_cast<std::size_t>(id)];
        if (item.kind != SkinItemKind::kFont && item.key == key) return &item;
    }
    return nullptr;
}

}  // namespace lumora
