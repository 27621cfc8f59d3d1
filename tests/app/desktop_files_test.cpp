#include <gtest/gtest.h>
#include <QImage>

namespace lumora {
namespace {

// The PNG sizes the build draws from the SVG, each in its hicolor folder.
TEST(DesktopFiles, TheIconIsDrawnAtEverySize) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString file = QString(LUMORA_ICON_DIR "/%1x%1/apps/lumora.png").arg(size);
        const QImage icon(file);
        ASSERT_FALSE(icon.isNull()) << file.toStdString();
        // A rounded tile: clear corners, an opaque middle that is not all one colour.
        EXPECT_EQ(std::tuple(icon.size(), icon.hasAlphaChannel(), qAlpha(icon.pixel(0, 0)),
                             qAlpha(icon.pixel(size - 1, size - 1)), qAlpha(icon.pixel(size / 2, size / 2))),
                  std::tuple(QSize(size, size), true, 0, 0, 255));
        EXPECT_NE(icon.pixel(size / 2, size / 2), icon.pixel(size / 2, size / 10)) << size;
    }
}

}  // namespace
}  // namespace lumora
