#include "skins/skin_artist.h"
#include "skins/skin_item_table.h"
#include "skins/themed_skin.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <tuple>

namespace lumora {
namespace {

// The mean difference per channel between two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;  // the fourth byte of every pixel is 0xFF in both
    for (qsizetype i = 0; i < x.sizeInBytes(); ++i) sum += std::abs(int{x.constBits()[i]} - int{y.constBits()[i]});
    return sum / (3.0 * x.width() * x.height());
}

// Reduced to half, a picture drawn for a ratio of 2 looks like the one for 1: a picture
// drawn at the wrong scale or place would not.
TEST(BuiltinSkin, EveryPictureExistsAtItsSizeAtEveryRatioShowsOneDesignAndButtonStatesDiffer) {
    const auto normal = CreateDefaultSkin(1.0);
    for (qreal ratio : {1.0, 2.0, 1.5}) {
        const auto skin = CreateDefaultSkin(ratio);
        for (const SkinItem& item : SkinItems()) {
            if (item.kind != SkinItemKind::kBitmap) continue;
            const QImage* picture = skin->Picture(item.id);
            ASSERT_NE(picture, nullptr) << item.key;
            EXPECT_EQ(
                std::tuple(picture->deviceIndependentSize().toSize(), picture->size(), picture->hasAlphaChannel()),
                std::tuple(QSize(item.width, item.height),
                           QSize(qRound(item.width * ratio), qRound(item.height * ratio)), false))
                << item.key;
            if (ratio != 2.0) continue;
            const QImage& one = *normal->Picture(item.id);
            EXPECT_LT(MeanDifference(one, picture->scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
                      20.0)
                << item.key;
        }
    }
    EXPECT_TRUE(BuiltinPicture(kFirstBuiltinPicture - 1, 1.0).isNull() &&
                BuiltinPicture(kLastBuiltinPicture + 1, 1.0).isNull());

    // The four states of every button differ.
    for (const SkinItem& item : SkinItems()) {
        if (!item.key.ends_with("_normal")) continue;
        for (int a = item.id; a < item.id + 4; ++a) {
            for (int b = a + 1; b < item.id + 4; ++b) {
                EXPECT_NE(*normal->Picture(a), *normal->Picture(b)) << item.key << ": states " << a << " and " << b;
            }
        }
    }
}

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
