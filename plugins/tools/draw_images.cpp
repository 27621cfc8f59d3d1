// lumora-draw-images: draws the pictures kept in the repository's images/ folder.
//
//   lumora-draw-images <folder>
//
// frame.png   the gilded moulding of the "Picture frame" animation: 256 x 48, its length
//             runs along the frame's edge (the ornament repeats every 32 pixels, so the
//             strip tiles), its top row is the outer side.
// sample.jpg  a 640 x 480 test card, the command-line front end's default source.
//
// A one-off tool: the pictures are committed, and the build only copies them.
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace {

QColor Gold(double light) {
    const double l = std::clamp(light, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(0.42 + 0.58 * l), static_cast<float>(0.24 + 0.6 * l),
                            static_cast<float>(0.05 + 0.4 * l * l));
}

QImage DrawMoulding() {
    constexpr int kLength = 256, kWidth = 48, kPeriod = 32;
    QImage image(kLength, kWidth, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Across the moulding: outer lip, round bead, ornament band, fillet, inner shadow.
    for (int y = 0; y < kWidth; ++y) {
        double light;
        if (y < 4) {
            light = 0.12 + 0.1 * (y == 1);
        } else if (y < 16) {
            light = 0.35 + 0.6 * std::sin((y - 4 + 0.5) / 12.0 * std::numbers::pi);
        } else if (y < 32) {
            light = 0.45;
        } else if (y < 40) {
            light = 0.72 - 0.02 * (y - 32);
        } else {
            light = 0.3 - 0.035 * (y - 40);
        }
        painter.fillRect(QRect(0, y, kLength, 1), Gold(light));
    }
    // Egg-and-dart in the band: raised ovals lit from above with points between them.
    for (int x = 0; x < kLength + kPeriod; x += kPeriod) {
        QRadialGradient egg(QPointF(x + 13, 20), 12);
        egg.setColorAt(0, Gold(1.0));
        egg.setColorAt(0.6, Gold(0.7));
        egg.setColorAt(1, Gold(0.3));
        painter.setPen(QPen(Gold(0.15), 1.2));
        painter.setBrush(egg);
        painter.drawEllipse(QRectF(x + 6, 17, 20, 13));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Gold(0.85));
        painter.drawPolygon(QPolygonF({QPointF(x - 2, 17.5), QPointF(x + 2, 17.5), QPointF(x, 30)}));
    }
    painter.fillRect(QRect(0, 33, kLength, 1), Gold(0.95));
    return image;
}

QImage DrawTestCard() {
    constexpr int kWidth = 640, kHeight = 480;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Seven colour bars, then a strip of their complements, then a grey ramp.
    const QColor bars[] = {{192, 192, 192}, {192, 192, 0}, {0, 192, 192}, {0, 192, 0},
                           {192, 0, 192},   {192, 0, 0},   {0, 0, 192}};
    for (int i = 0; i < 7; ++i) {
        const int left = i * kWidth / 7, right = (i + 1) * kWidth / 7;
        painter.fillRect(left, 0, right - left, 300, bars[i]);
        painter.fillRect(left, 300, right - left, 40, bars[6 - i].darker(160));
    }
    QLinearGradient ramp(0, 0, kWidth, 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, Qt::white);
    painter.fillRect(0, 340, kWidth, 60, ramp);
    QLinearGradient hues(0, 0, kWidth, 0);
    for (int i = 0; i <= 6; ++i) hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 220, 230));
    painter.fillRect(0, 400, kWidth, 80, hues);
    // A grid, a circle and a cross through the middle, for geometry.
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
    for (int x = 40; x < kWidth; x += 40) painter.drawLine(x, 0, x, kHeight);
    for (int y = 40; y < kHeight; y += 40) painter.drawLine(0, y, kWidth, y);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(kWidth / 2.0, kHeight / 2.0), 180, 180);
    painter.drawLine(kWidth / 2 - 20, kHeight / 2, kWidth / 2 + 20, kHeight / 2);
    painter.drawLine(kWidth / 2, kHeight / 2 - 20, kWidth / 2, kHeight / 2 + 20);
    // The name plate.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 24, 32));
    painter.drawRoundedRect(QRectF(200, 110, 240, 80), 12, 12);
    QFont font;
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(200, 110, 240, 56), Qt::AlignCenter, "LUMORA");
    font.setPixelSize(16);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRectF(200, 158, 240, 28), Qt::AlignCenter, "640 x 480 sample");
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumora-draw-images <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + "/";
    const bool saved = DrawMoulding().save(folder + "frame.png", "PNG") &&
                       DrawTestCard().save(folder + "sample.jpg", "JPEG", 85);
    if (!saved) std::fprintf(stderr, "lumora-draw-images: could not write into %s\n", argv[1]);
    return saved ? 0 : 1;
}
