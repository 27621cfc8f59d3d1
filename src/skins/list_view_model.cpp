#include "skins/list_view_model.h"

#include <algorithm>

namespace lumora {

int ListViewModel::AddItem(const QImage* bitmap, const QString& caption, std::int32_t value) {
    items_.push_back({bitmap, caption, value, false});
    return static_cast<int>(items_.size()) - 1;
}

bool ListViewModel::SetSelected(int index, bool selected) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return false;
    items_[static_cast<std::size_t>(index)].selected = selected;
    return true;
}

std::int32_t ListViewModel::GetItemValue(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return 0;
    return items_[static_cast<std::size_t>(index)].value;
}

int ListViewModel::FindItemByValue(std::int32_t value) const {
    const auto it =
        std::find_if(items_.begin(), items_.end(), [value](const Item& item) { return item.value == value; });
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void ListViewModel::ComputeTileSize(const std::function<int(const QString&)>& captionHeight) {
    if (items_.empty()) {
        tileSize_ = QSize(0, 0);
        return;
    }
    int height = 0;
    for (const Item& item : items_) {
        height =
            std::max(height, kTileHeightWithoutCaption + (item.caption.isEmpty() ? 0 : captionHeight(item.caption)));
    }
    tileSize_ = {kMinimumTileWidth, height};
}

QRect ListViewModel::Area(QSize client) {
    return QRect(1, 1, client.width() - 2 - 12, client.height() - 2);
}

QRect ListViewModel::ScrollBarRect(QSize client) {
    return QRect(client.width() - 13, 1, 12, client.height() - 2);
}

int ListViewModel::Columns(QSize client) const {
    return tileSize_.width() > 0 ? std::max(1, Area(client).width() / tileSize_.width()) : 1;
}

ListViewModel::ScrollRange ListViewModel::RangeFor(QSize client) const {
    const int columns = Columns(client);
    const int visibleRows = tileSize_.height() > 0 ? std::max(1, Area(client).height() / tileSize_.height()) : 1;
    const int items = static_cast<int>(items_.size());
    const int rows = (items + columns - 1) / columns;
    return {std::max(rows - visibleRows, 0), firstVisible_ / columns};
}

std::vector<ListViewModel::Tile> ListViewModel::VisibleTiles(QSize client) const {
    std::vector<Tile> tiles;
    const QRect area = Area(client);
    // Tiles without a size would never fill the area.
    if (tileSize_.isEmpty() || area.isEmpty()) return tiles;
    int x = area.left();
    int y = area.top();
    for (int index = std::max(firstVisible_, 0); index < static_cast<int>(items_.size()); ++index) {
        if (y > area.bottom()) break;
        tiles.push_back({index, QRect(QPoint(x, y), tileSize_)});
        x += tileSize_.width();
        if (x + tileSize_.width() > area.right() + 1) {
            x = area.left();
            y += tileSize_.height();
        }
    }
    return tiles;
}

int ListViewModel::HitTest(QPoint point, QSize client) const {
    const QRect area = Area(client);
    for (const Tile& tile : VisibleTiles(client)) {
        if ((tile.rect & area).contains(point)) return tile.index;
    }
    return -1;
}

}  // namespace lumora
