#include "tools/thumbnail_layout.h"

#include <algorithm>

namespace lumora {

ThumbnailLayout::ThumbnailLayout(QSize itemSize, int margin, LabelMeasure measure)
        : itemSize_(itemSize), margin_(margin), measure_(std::move(measure)) {
    Clear();
}

int ThumbnailLayout::Add(ThumbnailItem item) {
    const int width = itemSize_.width() + 2 * margin_;
    const int labelHeight = measure_ ? measure_(item.label, width - 2) : 0;
    cell_ = cell_.expandedTo(QSize(width, itemSize_.height() + margin_ + labelHeight));
    items_.push_back(std::move(item));
    if (items_.size() == 1) selected_ = 0;
    Rescroll();
    return static_cast<int>(items_.size()) - 1;
}

void ThumbnailLayout::Clear() {
    items_.clear();
    selected_ = -1;
    firstVisible_ = 0;
    cell_ = QSize(itemSize_.width() + 2 * margin_, itemSize_.height() + margin_);
}

void ThumbnailLayout::SetClientSize(QSize size) {
    client_ = size;
    Rescroll();
}

int ThumbnailLayout::Columns() const { return std::max(1, client_.width() / std::max(1, cell_.width())); }

int ThumbnailLayout::VisibleRows() const { return std::max(1, client_.height() / std::max(1, cell_.height())); }

std::vector<ThumbnailLayout::Cell> ThumbnailLayout::PlacedCells() const {
    std::vector<Cell> cells;
    QPoint at(0, 0);
    for (int index = firstVisible_; index < static_cast<int>(items_.size()); ++index) {
        if (at.x() > 0 && at.x() + cell_.width() > client_.width()) at = QPoint(0, at.y() + cell_.height());
        if (at.y() >= client_.height()) break;
        cells.push_back({index, QRect(at, cell_)});
        at.rx() += cell_.width();
    }
    return cells;
}

int ThumbnailLayout::HitTest(QPoint point) const {
    for (const Cell& cell : PlacedCells()) {
        if (cell.rect.contains(point)) return cell.index;
    }
    return -1;
}

ThumbnailLayout::ScrollState ThumbnailLayout::Scroll() const {
    ScrollState state;
    state.enabled = !items_.empty();
    const int columns = Columns();
    state.rowCount = (static_cast<int>(items_.size()) + columns - 1) / columns;
    state.page = VisibleRows();
    state.maximum = std::max(0, state.rowCount - state.page);
    state.position = firstVisible_ / columns;
    return state;
}

void ThumbnailLayout::ScrollToRow(int row) {
    const int columns = Columns();
    const int rows = (static_cast<int>(items_.size()) + columns - 1) / columns;
    firstVisible_ = std::clamp(row, 0, std::max(0, rows - VisibleRows())) * columns;
}

}  // namespace lumora
