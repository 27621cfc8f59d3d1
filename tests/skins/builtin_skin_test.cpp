#include "skins/skin_artist.h"
#include "skins/themed_skin.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumora {
namespace {

// Colour and font items of a skin, one line each, in the form of default_skin_values.golden.
std::string ValueListing(const Skin& skin) {
    std::ostringstream out;
    for (const SkinItem& item : SkinItems()) {
        const char* section = GetCategorySection(GetItemCategory(item.id));
        if (item.kind == SkinItemKind::kColour) {
            out << section << " " << item.key << " = " << FormatSkinColour(skin.Values().colours[item.id]) << "\n";
        } else if (item.kind == SkinItemKind::kFont) {
            const SkinFont& f = skin.Values().fonts[item.id];
            out << section << " font = " << f.face << " " << f.size << " " << int{f.bold} << " " << int{f.italic} << " "
                << int{f.underline} << "\n";
        }
    }
    return out.str();
}

TEST(BuiltinSkin, ColoursAndFontsAreTheDefaultTable) {
    const auto skin = CreateDefaultSkin(1.0);
    EXPECT_EQ(skin->name, "Default");
    EXPECT_EQ(ValueListing(*skin), test::ReadFileText(LUMORA_SKINS_TEST_DIR "/default_skin_values.golden"));
}

TEST(BuiltinSkin, EveryPictureExistsAtItsSizeAtEveryRatioAndButtonStatesDiffer) {
    for (qreal ratio : {1.0, 2.0, 1.5}) {
        const auto skin = CreateDefaultSkin(ratio);
        for (const SkinItem& item : SkinItems()) {
            if (item.kind != SkinItemKind::kBitmap) continue;
            const QImage* picture = skin->Picture(item.id);
            ASSERT_NE(picture, nullptr) << item.key;
            EXPECT_EQ(picture->deviceIndependentSize().toSize(), QSize(item.width, item.height)) << item.key;
            EXPECT_EQ(picture->size(), QSize(qRound(item.width * ratio), qRound(item.height * ratio))) << item.key;
            EXPECT_FALSE(picture->hasAlphaChannel()) << item.key;
        }
    }
    EXPECT_TRUE(BuiltinPicture(kFirstBuiltinPicture - 1, 1.0).isNull() &&
                BuiltinPicture(kLastBuiltinPicture + 1, 1.0).isNull());

    // The four states of every button differ.
    const auto skin = CreateDefaultSkin(1.0);
    for (const SkinItem& item : SkinItems()) {
        if (!item.key.ends_with("_normal")) continue;
        std::vector<QImage> states;
        for (int id = item.id; id < item.id + 4; ++id) states.push_back(*skin->Picture(id));
        for (std::size_t a = 0; a < states.size(); ++a) {
            for (std::size_t b = a + 1; b < states.size(); ++b) {
                EXPECT_NE(states[a], states[b]) << item.key << ": states " << a << " and " << b;
            }
        }
    }
}

// The mean difference per channel between two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

TEST(BuiltinSkin, DoubleRatioPicturesShowTheSameDesign) {
    // Reduced to half, a picture drawn for a ratio of 2 looks like the one for 1: a
    // picture drawn at the wrong scale or place would not.
    const SkinTheme theme = SkinTheme::Default();
    const SkinArtist artist(theme);
    for (const SkinItem& item : SkinItems()) {
        if (item.kind != SkinItemKind::kBitmap) continue;
        const QImage normal = artist.Draw(item, 1.0);
        const QImage sharp =
            artist.Draw(item, 2.0).scaled(normal.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(MeanDifference(normal, sharp), 20.0) << item.key;
    }
}

}  // namespace
}  // namespace lumora
