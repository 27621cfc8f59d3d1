#include "skins/list_view_painter.h"

#include "skins/skin_drawing.h"

#include <QFontMetrics>
#include <QPainter>

namespace lumora {

namespace {

constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

int ListViewPainter::CaptionHeight(const QPaintDevice& device, const SkinFont& font, const QString& caption) {
    const QFontMetrics metrics(CreateSkinFont(device, font), &device);
    return metrics.boundingRect(QRect(0, 0, ListViewModel::kCaptionWidth, 1 << 16), kCaptionFlags, caption).height();
}

void ListViewPainter::Paint(QPainter& painter, QSize client, const ListViewModel& model, const ListViewSkin& skin) {
    const QRect all(QPoint(0, 0), client);
    FillSkinRect(painter, all, skin.background);
    FrameSkinRect(painter, all, skin.windowBorder);
    const QRect area = ListViewModel::Area(client);
    painter.save();
    painter.setFont(CreateSkinFont(*painter.device(), skin.font));
    for (const ListViewModel::Tile& tile : model.VisibleTiles(client)) {
        painter.setClipRect(tile.rect & area);
        PaintTile(painter, tile.rect, model.Items()[static_cast<std::size_t>(tile.index)],
                  tile.index == model.GetCurrent(), skin);
    }
    painter.restore();
}

void ListViewPainter::PaintTile(QPainter& painter, const QRect& tile, const ListViewModel::Item& item, bool current,
                                const ListViewSkin& skin) {
    const SkinColour background = item.selected ? skin.selectedBackground : skin.background;
    FillSkinRect(painter, tile, background);
    if (current) {
        FrameSkinRect(painter, tile, skin.activeBorder);
    } else if (item.selected) {
        FrameSkinRect(painter, tile, skin.selectedBorder);
    }
    const int l = tile.left();
    const int t = tile.top();
    FrameSkinRect(painter, QRect(l + 9, t + 4, 50, 50), item.selected ? skin.selectedImageBorder : skin.imageBorder);
    DrawBitmapOrFill(painter, QRect(l + 10, t + 5, 48, 48), item.bitmap, background);
    if (item.caption.isEmpty()) return;
    painter.setPen(ToQColor(item.selected ? skin.selectedText : skin.text));
    painter.drawText(QRect(l + 1, t + 58, tile.width() - 2, tile.height() - 59), kCaptionFlags, item.caption);
}

}  // namespace lumora
