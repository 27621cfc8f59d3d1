#include "skins/skin_drawing.h"
#include "control_test_support.h"
#include "skins/main_window_chrome.h"
#include "skins/themed_skin.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>
#include <QWidget>

#include <functional>

namespace lumora {
namespace {

// A white canvas of `size` logical pixels at `ratio`, after `draw` painted on it.
QImage Drawn(QSize size, const std::function<void(QPainter&)>& draw, qreal ratio = 1.0) {
    QImage canvas(size * ratio, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    draw(painter);
    painter.end();
    return canvas;
}

// A width x height picture of `fill` whose first column is `mark`.
QImage Marked(int width, int height, QColor fill, QColor mark) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(fill);
    for (int y = 0; y < height; ++y) picture.setPixelColor(0, y, mark);
    return picture;
}

TEST(SkinDrawing, FramesTileBitmapsStretchSharperPicturesKeepEveryPixelTexturesTileAndFontsAndChromeFit) {
    const QImage top = Marked(6, 6, Qt::gray, Qt::red);
    const QImage side = Marked(6, 6, Qt::gray, Qt::blue);
    const QImage corner = Marked(6, 6, Qt::black, Qt::black);
    const auto draw = [](const FramePieces& pieces) {
        return Drawn({40, 40}, [&](QPainter& p) { DrawFramePieces(p, QRect(10, 10, 20, 20), pieces, 6, 6, 6, 6); });
    };
    const QImage edges = draw({&top, nullptr, nullptr, nullptr, nullptr, &top, nullptr, nullptr, SkinRgb(0, 255, 0)});
    std::vector<int> marked;
    for (int x = 0; x < 40; ++x) {
        if (edges.pixelColor(x, 10) == QColor(Qt::red)) marked.push_back(x);
    }
    EXPECT_EQ(marked, (std::vector<int>{10, 16, 22, 24}));
    // The bottom row at bottom - 6, the background inside, nothing outside.
    const test::Pixel edgePixels[] = {{24, 24, Qt::red}, {20, 20, QColor(0, 255, 0)}, {9, 9, Qt::white}};
    test::ExpectPixels(edges, edgePixels);

    // Sides come after the top and bottom; corners that exist come last.
    const QImage framed = draw({&top, nullptr, nullptr, &side, &side, &top, nullptr, &corner, NoColour});
    // The right side at right - 6, the last tile flush with the bottom; no background colour
    // means no fill; the bottom-right corner, and no top-left one.
    const test::Pixel framedPixels[] = {{10, 12, Qt::blue},  {24, 16, Qt::blue},  {10, 24, Qt::blue}, {16, 10, Qt::red},
                                        {20, 20, Qt::white}, {29, 29, Qt::black}, {10, 10, Qt::blue}};
    test::ExpectPixels(framed, framedPixels);

    // Bitmaps are copied at their size and stretched otherwise.
    QImage halves(20, 20, QImage::Format_RGB32);
    halves.fill(Qt::red);
    QPainter(&halves).fillRect(10, 0, 10, 20, Qt::blue);

    const QImage tall = Drawn({13, 78}, [&](QPainter& p) { DrawBitmapInRect(p, QRect(0, 0, 13, 78), &halves); });
    const test::Pixel tallPixels[] = {{1, 39, Qt::red}, {11, 39, Qt::blue}};
    test::ExpectPixels(tall, tallPixels);
    EXPECT_TRUE(tall.pixelColor(6, 0) != Qt::white && tall.pixelColor(6, 77) != Qt::white) << "stretched to both ends";

    EXPECT_EQ(Drawn({20, 20},
                    [&](QPainter& p) {
                        DrawBitmapInRect(p, QRect(0, 0, 20, 20), &halves);
                        DrawBitmapInRect(p, QRect(0, 0, 20, 20), nullptr);
                        DrawBitmapAt(p, 5, 5, nullptr);
                    }),
              halves);

    // Sharper pictures keep every pixel on sharper canvases.
    QImage sharp(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) sharp.setPixelColor(x, y, (x + y) % 2 ? Qt::black : Qt::blue);
    }
    sharp.setDevicePixelRatio(2.0);
    const auto drawSharp = [&](QPainter& p) { DrawBitmapAt(p, 5, 5, &sharp); };
    QImage drawn = Drawn({30, 30}, drawSharp, 2.0).copy(10, 10, 40, 40);
    drawn.setDevicePixelRatio(2.0);
    EXPECT_EQ(drawn, sharp);
    // On an ordinary canvas it covers its logical size.
    const QImage normal = Drawn({30, 30}, drawSharp);
    EXPECT_TRUE(normal.pixelColor(24, 24) != Qt::white && normal.pixelColor(25, 25) == Qt::white);

    // Textured windows tile inside their rounded outline.
    const QImage texture = Marked(54, 54, Qt::gray, Qt::red);
    const QSize size(200, 120);
    const QRegion region = RoundedWindowRegion(size);
    EXPECT_TRUE(region.contains(QPoint(100, 0)) && region.contains(QPoint(199, 60)) &&
                region.contains(QPoint(100, 119)));
    EXPECT_FALSE(region.contains(QPoint(0, 0)) || region.contains(QPoint(199, 119)));

    const QImage canvas = Drawn(size, [&](QPainter& p) {
        FillTexturedWindow(p, QRect(QPoint(0, 0), size), region, &texture, SkinRgb(0, 0, 255));
    });
    // Outside the outline nothing; the border along it; the texture tiled every 54 pixels.
    const test::Pixel pixels[] = {{0, 0, Qt::white}, {100, 0, Qt::blue}, {0, 60, Qt::blue}, {199, 60, Qt::blue},
                                  {54, 30, Qt::red}, {162, 60, Qt::red}, {55, 30, Qt::gray}};
    test::ExpectPixels(canvas, pixels);

    // A window without a mask is outlined along its rectangle.
    QWidget window;
    window.resize(100, 50);
    const QImage square =
        Drawn({100, 50}, [&](QPainter& p) { FillTexturedWindow(p, window, &texture, SkinRgb(0, 0, 255)); });
    const test::Pixel corners[] = {{0, 0, Qt::blue}, {99, 49, Qt::blue}};
    test::ExpectPixels(square, corners);

    // Skin fonts have the pixel height of their points.
    // 10.67 rounds up.
    EXPECT_EQ(std::vector<int>({SkinFontPixelHeight(8, 96), SkinFontPixelHeight(9, 96), SkinFontPixelHeight(-8, 96)}),
              std::vector<int>({11, 12, -11}));
    const QFont font = SkinFontToLogFont(96, {"Tahoma", 8, 1, 1, 0});
    EXPECT_TRUE(font.pixelSize() == 11 && font.bold() && font.italic() && !font.underline());
    // Whatever is installed, the font resolves to a face that exists.
    EXPECT_FALSE(QFontInfo(font).family().isEmpty());
    const QFont fallback = SkinFontToLogFont(96, {"", 0, 0, 0, 1});
    EXPECT_TRUE(QFontInfo(fallback).pixelSize() > 0 && fallback.underline());  // the default height
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterY(qRound(192 / 0.0254));
    EXPECT_EQ(CreateSkinFont(device, {"", 8, 0, 0, 0}).pixelSize(), 21);

    // The main window's caption line and preview frame sit where the window puts them.
    const auto skin = CreateDefaultSkin(1.0);
    const QSize video(640, 480);
    const QSize windowSize = MainWindowChrome::WindowSize(video);
    ASSERT_EQ(windowSize, QSize(706, 567));
    const QImage chrome = Drawn(windowSize, [&](QPainter& p) {
        MainWindowChrome::Paint(p, QRect(QPoint(0, 0), windowSize), RoundedWindowRegion(windowSize),
                                MainWindowChrome::PreviewRect(video), *skin);
    });
    // The caption line from 5 to 700 on row 30, the background beside it; the caption; the
    // frame's pieces, unscaled, around the preview rectangle (24, 68)-(664, 548).
    const QColor line = ToQColor(skin->mainWindow.captionLine);
    EXPECT_NE(chrome.pixelColor(701, 30), line);
    const test::Pixel chromePixels[] = {{5, 30, line},
                                        {700, 30, line},
                                        {4, 30, skin->mainWindow.background->pixelColor(4, 30)},
                                        {30, 67, skin->preview.top->pixelColor(0, 13)},
                                        {23, 300, skin->preview.left->pixelColor(18, 0)},
                                        {664, 548, skin->preview.bottomRight->pixelColor(0, 0)},
                                        {5, 5, skin->mainWindow.caption->pixelColor(0, 0)}};
    test::ExpectPixels(chrome, chromePixels);
}

}  // namespace
}  // namespace lumora
