#include "tools/thumbnail_painter.h"

namespace lumora {

namespace {

const QColor kSelectedBackground(0xC0, 0xC0, 0xC0);
const QColor kGrey(0x80, 0x80, 0x80);

}  // namespace

void ThumbnailPainter::Paint(QPainter& painter, const ThumbnailLayout& layout, QSize client, const QColor& textColour) {
    painter.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    for (const ThumbnailLayout::Cell& cell : layout.PlacedCells()) {
        painter.save();
        painter.setClipRect(cell.rect.intersected(QRect(QPoint(0, 0), client)));
        PaintCell(painter, layout, cell, textColour);
        painter.restore();
    }
}

void ThumbnailPainter::PaintCell(QPainter& painter, const ThumbnailLayout& layout, const ThumbnailLayout::Cell& cell,
                                 const QColor& textColour) {
    const bool selected = cell.index == layout.Selected();
    const QRect& box = cell.rect;
    painter.fillRect(box, selected ? kSelectedBackground : QColor(Qt::white));
    painter.setBrush(Qt::NoBrush);
    if (selected) {
        painter.setPen(kGrey);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    const int margin = layout.Margin();
    const QRect area(box.topLeft() + QPoint(margin, margin), layout.ItemSize());
    painter.setPen(selected ? kGrey : kSelectedBackground);
    painter.drawRect(area.adjusted(-1, -1, 0, 0));
    const ThumbnailItem& item = layout.Items()[static_cast<std::size_t>(cell.index)];
    if (item.picture.isNull()) {
        painter.fillRect(area, Qt::black);
    } else {
        const QPoint at = area.topLeft() + QPoint((area.width() - item.picture.width()) / 2,
                                                  (area.height() - item.picture.height()) / 2);
        painter.drawImage(at, item.picture);
    }
    const QRect label(QPoint(box.left() + 1, area.bottom() + 1), QPoint(box.right() - 1, box.bottom() - 1));
    painter.setPen(textColour);
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, item.label);
}

}  // namespace lumora
