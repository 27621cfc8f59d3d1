#include "skins/main_window_chrome.h"
#include "skins/skin_drawing.h"
#include "skins/themed_skin.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>
#include <QWidget>

namespace lumora {
namespace {

// A white canvas of `size` logical pixels at `ratio`.
QImage Canvas(QSize size, qreal ratio = 1.0) {
    QImage canvas(size * ratio, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::white);
    return canvas;
}

// A width x height picture of `fill` whose first column is `mark`.
QImage Marked(int width, int height, QColor fill, QColor mark) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(fill);
    for (int y = 0; y < height; ++y) picture.setPixelColor(0, y, mark);
    return picture;
}

TEST(SkinDrawing, FramePiecesTileEdgesAndEndFlush) {
    const QImage top = Marked(6, 6, Qt::gray, Qt::red);
    const QImage side = Marked(6, 6, Qt::gray, Qt::blue);
    const QImage corner = Marked(6, 6, Qt::black, Qt::black);
    const auto draw = [](const FramePieces& pieces) {
        QImage canvas = Canvas({40, 40});
        QPainter painter(&canvas);
        DrawFramePieces(painter, QRect(10, 10, 20, 20), pieces, 6, 6, 6, 6);
        painter.end();
        return canvas;
    };
    const QImage edges = draw({&top, nullptr, nullptr, nullptr, nullptr, &top, nullptr, nullptr, SkinRgb(0, 255, 0)});
    std::vector<int> marked;
    for (int x = 0; x < 40; ++x) {
        if (edges.pixelColor(x, 10) == QColor(Qt::red)) marked.push_back(x);
    }
    EXPECT_EQ(marked, (std::vector<int>{10, 16, 22, 24}));
    EXPECT_EQ(edges.pixelColor(24, 24), QColor(Qt::red));    // the bottom row at bottom - 6
    EXPECT_EQ(edges.pixelColor(20, 20), QColor(0, 255, 0));  // the background inside
    EXPECT_EQ(edges.pixelColor(9, 9), QColor(Qt::white));    // nothing outside

    // Sides come after the top and bottom; corners that exist come last.
    const QImage framed = draw({&top, nullptr, nullptr, &side, &side, &top, nullptr, &corner, NoColour});
    EXPECT_EQ(framed.pixelColor(10, 12), QColor(Qt::blue));
    EXPECT_EQ(framed.pixelColor(24, 16), QColor(Qt::blue));  // the right side at right - 6
    EXPECT_EQ(framed.pixelColor(10, 24), QColor(Qt::blue));  // the last tile flush with the bottom
    EXPECT_EQ(framed.pixelColor(16, 10), QColor(Qt::red));
    EXPECT_EQ(framed.pixelColor(20, 20), QColor(Qt::white));  // no background colour: no fill
    EXPECT_EQ(framed.pixelColor(29, 29), QColor(Qt::black));
    EXPECT_EQ(framed.pixelColor(10, 10), QColor(Qt::blue));  // no top-left corner
}

TEST(SkinDrawing, BitmapsAreCopiedAtTheirSizeAndStretchedOtherwise) {
    QImage halves(20, 20, QImage::Format_RGB32);
    halves.fill(Qt::red);
    QPainter(&halves).fillRect(10, 0, 10, 20, Qt::blue);

    QImage tall = Canvas({13, 78});
    {
        QPainter painter(&tall);
        DrawBitmapInRect(painter, QRect(0, 0, 13, 78), &halves);
    }
    EXPECT_EQ(tall.pixelColor(1, 39), QColor(Qt::red));
    EXPECT_EQ(tall.pixelColor(11, 39), QColor(Qt::blue));
    EXPECT_NE(tall.pixelColor(6, 0), QColor(Qt::white));
    EXPECT_NE(tall.pixelColor(6, 77), QColor(Qt::white));

    QImage exact = Canvas({20, 20});
    {
        QPainter painter(&exact);
        DrawBitmapInRect(painter, QRect(0, 0, 20, 20), &halves);
        DrawBitmapInRect(painter, QRect(0, 0, 20, 20), nullptr);
        DrawBitmapAt(painter, 5, 5, nullptr);
    }
    EXPECT_EQ(exact, halves);
}

TEST(SkinDrawing, SharperPicturesKeepEveryPixelOnSharperCanvases) {
    QImage sharp(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) sharp.setPixelColor(x, y, (x + y) % 2 ? Qt::black : Qt::blue);
    }
    sharp.setDevicePixelRatio(2.0);
    QImage canvas = Canvas({30, 30}, 2.0);
    {
        QPainter painter(&canvas);
        DrawBitmapAt(painter, 5, 5, &sharp);
    }
    QImage drawn = canvas.copy(10, 10, 40, 40);
    drawn.setDevicePixelRatio(2.0);
    EXPECT_EQ(drawn, sharp);
    // On an ordinary canvas it covers its logical size.
    QImage normal = Canvas({30, 30});
    {
        QPainter painter(&normal);
        DrawBitmapAt(painter, 5, 5, &sharp);
    }
    EXPECT_NE(normal.pixelColor(24, 24), QColor(Qt::white));
    EXPECT_EQ(normal.pixelColor(25, 25), QColor(Qt::white));
}

TEST(SkinDrawing, TexturedWindowsTileInsideTheirRoundedOutline) {
    const QImage texture = Marked(54, 54, Qt::gray, Qt::red);
    const QSize size(200, 120);
    const QRegion region = RoundedWindowRegion(size);
    EXPECT_TRUE(region.contains(QPoint(100, 0)));
    EXPECT_TRUE(region.contains(QPoint(199, 60)));
    EXPECT_TRUE(region.contains(QPoint(100, 119)));
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(199, 119)));

    QImage canvas = Canvas(size);
    {
        QPainter painter(&canvas);
        FillTexturedWindow(painter, QRect(QPoint(0, 0), size), region, &texture, SkinRgb(0, 0, 255));
    }
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::white));  // outside the outline
    EXPECT_EQ(canvas.pixelColor(100, 0), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(0, 60), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(199, 60), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(54, 30), QColor(Qt::red));  // tiles every 54 pixels
    EXPECT_EQ(canvas.pixelColor(162, 60), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(55, 30), QColor(Qt::gray));

    // A window without a mask is outlined along its rectangle.
    QWidget window;
    window.resize(100, 50);
    QImage square = Canvas({100, 50});
    {
        QPainter painter(&square);
        FillTexturedWindow(painter, window, &texture, SkinRgb(0, 0, 255));
    }
    EXPECT_EQ(square.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(square.pixelColor(99, 49), QColor(Qt::blue));
    SetRoundedWindowRegion(window);
    EXPECT_EQ(window.mask(), RoundedWindowRegion(QSize(100, 50)));
}

TEST(SkinDrawing, SkinFontsHaveThePixelHeightOfTheirPoints) {
    EXPECT_EQ(SkinFontPixelHeight(8, 96), 11);  // 10.67 rounds up
    EXPECT_EQ(SkinFontPixelHeight(9, 96), 12);
    EXPECT_EQ(SkinFontPixelHeight(-8, 96), -11);
    const QFont font = SkinFontToLogFont(96, {"Tahoma", 8, 1, 1, 0});
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_FALSE(font.underline());
    // Whatever is installed, the font resolves to a face that exists.
    EXPECT_FALSE(QFontInfo(font).family().isEmpty());
    const QFont fallback = SkinFontToLogFont(96, {"", 0, 0, 0, 1});
    EXPECT_GT(QFontInfo(fallback).pixelSize(), 0);  // the default height
    EXPECT_TRUE(fallback.underline());
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterY(qRound(192 / 0.0254));
    EXPECT_EQ(CreateSkinFont(device, {"", 8, 0, 0, 0}).pixelSize(), 21);
}

TEST(MainWindowChrome, CaptionLineAndPreviewFrameSitWhereTheWindowPutsThem) {
    const auto skin = CreateDefaultSkin(1.0);
    const QSize video(640, 480);
    const QSize window = MainWindowChrome::WindowSize(video);
    ASSERT_EQ(window, QSize(706, 567));
    QImage canvas = Canvas(window);
    {
        QPainter painter(&canvas);
        MainWindowChrome::Paint(painter, QRect(QPoint(0, 0), window), RoundedWindowRegion(window),
                                MainWindowChrome::PreviewRect(video), *skin);
    }
    const QColor line = ToQColor(skin->mainWindow.captionLine);
    EXPECT_EQ(canvas.pixelColor(5, 30), line);
    EXPECT_EQ(canvas.pixelColor(700, 30), line);
    EXPECT_NE(canvas.pixelColor(701, 30), line);
    EXPECT_EQ(canvas.pixelColor(4, 30), skin->mainWindow.background->pixelColor(4, 30));
    // The frame's pieces, unscaled, around the preview rectangle (24, 68)-(664, 548).
    EXPECT_EQ(canvas.pixelColor(30, 67), skin->preview.top->pixelColor(0, 13));
    EXPECT_EQ(canvas.pixelColor(23, 300), skin->preview.left->pixelColor(18, 0));
    EXPECT_EQ(canvas.pixelColor(664, 548), skin->preview.bottomRight->pixelColor(0, 0));
    EXPECT_EQ(canvas.pixelColor(5, 5), skin->mainWindow.caption->pixelColor(0, 0));
}

}  // namespace
}  // namespace lumora
