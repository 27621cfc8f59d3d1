#include "skins/skin_artist.h"
#include "skins/themed_skin.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lumora
