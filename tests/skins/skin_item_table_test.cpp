#include "skins/skin_item_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <tuple>

namespace lumora {
namespace {

// Every category and item, one line each, in the form of skin_items.golden.
std::string TableListing() {
    std::ostringstream out;
    for (const SkinCategory& c : SkinCategories()) {
        out << "category " << c.id << " | [" << c.text << "] | " << c.section << " | " << c.firstItem << "-"
            << c.lastItem << "\n";
    }
    for (const SkinItem& item : SkinItems()) {
        out << "item " << item.id << " | " << GetCategorySection(GetItemCategory(item.id)) << " | " << item.key << " | "
            << std::array{"bitmap", "colour", "font"}.at(static_cast<std::size_t>(item.kind)) << " | [" << item.name
            << "] | [" << item.description << "] | " << item.width << "x" << item.height << " | " << item.builtinPicture
            << "\n";
    }
    return out.str();
}

TEST(SkinItemTable, ListingMatchesTheGoldenTableAndLookupsStayInside) {
    const std::string golden = test::ReadFileText(LUMORA_SKINS_TEST_DIR "/skin_items.golden");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(TableListing(), golden);

    // Lookups answer nothing outside the tables.
    EXPECT_TRUE(FindSkinItem(-1) == nullptr && FindSkinItem(kSkinItemCount) == nullptr);
    EXPECT_FALSE(GetCategoryItemRange(16) || GetCategoryItemRange(-1));
    EXPECT_TRUE(GetCategoryText(16) == nullptr && GetCategorySection(-1) == nullptr && GetItemCategory(142) == -1);
    // Two categories share a section, and keys repeat across sections.
    EXPECT_STREQ(GetCategorySection(0), GetCategorySection(1));
    EXPECT_EQ(std::tuple(FindSkinItemByKey(skin_category::kSystemButtons, "options_over")->id,
                         FindSkinItemByKey(skin_category::kMenuButtons, "options_over")->id),
              std::tuple(13, 33));
    EXPECT_EQ(FindSkinItemByKey(skin_category::kTabsWindow, "topleft"), nullptr);
}

}  // namespace
}  // namespace lumora
