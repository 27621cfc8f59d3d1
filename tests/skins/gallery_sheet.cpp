#include "gallery_sheet.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace lumora::test {

namespace {

constexpr int kGap = 10;
constexpr int kCaption = 14;

}  // namespace

void GallerySheet::Add(const QImage& picture, const QString& caption) {
    rows_.back().push_back({picture, caption});
}

void GallerySheet::NewRow() {
    if (!rows_.back().empty()) rows_.emplace_back();
}

QString GallerySheet::Folder() {
    return QStringLiteral(LUMORA_SKIN_GALLERY_DIR);
}

bool GallerySheet::Save(const QString& name) const {
    QFont font;
    font.setPixelSize(10);
    const QFontMetrics metrics(font);
    // Where every cell goes, row by row, and the size of the whole.
    std::vector<QPoint> places;
    QSize sheetSize(kGap, kGap);
    for (const auto& row : rows_) {
        int x = kGap;
        int rowHeight = 0;
        for (const Cell& cell : row) {
            places.emplace_back(x, sheetSize.height());
            const QSize size = cell.picture.deviceIndependentSize().toSize();
            x += std::max(size.width(), metrics.horizontalAdvance(cell.caption)) + kGap;
            rowHeight = std::max(rowHeight, size.height() + kCaption);
        }
        sheetSize = {std::max(sheetSize.width(), x), sheetSize.height() + rowHeight + kGap};
    }
    QImage sheet(sheetSize * ratio_, QImage::Format_RGB32);
    sheet.setDevicePixelRatio(ratio_);
    sheet.fill(background_);
    QPainter painter(&sheet);
    painter.setFont(font);
    painter.setPen(background_.lightness() > 128 ? Qt::black : Qt::white);
    auto place = places.begin();
    for (const auto& row : rows_) {
        for (const Cell& cell : row) {
            painter.drawText(*place + QPoint(0, 10), cell.caption);
            painter.drawImage(QPointF(*place + QPoint(0, kCaption)), cell.picture);
            ++place;
        }
    }
    painter.end();
    QDir().mkpath(Folder());
    return sheet.save(Folder() + "/" + name + ".png");
}

}  // namespace lumora::test
