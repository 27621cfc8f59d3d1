// lumora_render_icon SVG FOLDER SIZE...: draws the icon SVG as square PNG files, one per
// size, in the icon theme layout FOLDER/<size>x<size>/apps/<name of the SVG>.png. Used by
// the build; exits with 1 and a line on stderr when the SVG cannot be read or a PNG
// cannot be written.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

namespace {

bool Render(QSvgRenderer& svg, int size, const QString& file) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return QDir().mkpath(QFileInfo(file).path()) && image.save(file, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    // A build machine need not have a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: lumora_render_icon SVG FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "lumora_render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString name = QFileInfo(QString::fromLocal8Bit(argv[1])).completeBaseName();
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString file = QString("%1/%2x%2/apps/%3.png").arg(QString::fromLocal8Bit(argv[2])).arg(size).arg(name);
        if (size <= 0 || !Render(svg, size, file)) {
            std::fprintf(stderr, "lumora_render_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
