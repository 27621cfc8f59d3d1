// ThumbnailLayout: the state behind the thumbnail grid — its items, the selection, the
// first visible item and the placement of the cells — with no widget, so it is tested and
// painted without a display.
//
// Every cell is (item width + 2 margin) wide and (margin + item height + label height)
// high, the label height measured over (item width + 2 margin - 2) pixels; the layout uses
// the largest cell over all items. Cells are placed left to right from the client's
// top-left corner, starting with the first visible item; a row ends before a cell would
// cross the right edge, and placement stops at the first row at or below the bottom.
// Scrolling moves whole rows: the first visible item is always a multiple of the column
// count after a scroll update, and the row position stays within 0 ... rows - visible rows.
//
// A value type for one thread at a time (the user-interface thread in the program).
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

namespace lumora {

struct ThumbnailItem {
    QImage picture;  // shown at its own size, centred; a null image shows a black area
    QString label;
    int userValue = 0;
};

class ThumbnailLayout {
public:
    // The height of `label` word-wrapped within `width` pixels.
    using LabelMeasure = std::function<int(const QString& label, int width)>;

    struct Cell {
        int index;
        QRect rect;
    };
    // The scroll bar: rows 0 ... rowCount - 1, `page` rows visible, the top row `position`.
    struct ScrollState {
        bool enabled = false;
        int rowCount = 0;
        int page = 1;
        int position = 0;
        int maximum = 0;  // the last position: rowCount - page, at least 0
    };

    ThumbnailLayout(QSize itemSize, int margin, LabelMeasure measure);

    // Appends an item; the first item of an empty list becomes selected. Its index.
    int Add(ThumbnailItem item);
    // No items, no selection, back at the top.
    void Clear();
    void SetClientSize(QSize size);

    const std::vector<ThumbnailItem>& Items() const { return items_; }
    int Selected() const { return selected_; }
    void Select(int index) { selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1; }
    int FirstVisible() const { return firstVisible_; }
    QSize ItemSize() const { return itemSize_; }
    int Margin() const { return margin_; }

    QSize CellSize() const { return cell_; }
    int Columns() const;
    int VisibleRows() const;
    std::vector<Cell> PlacedCells() const;
    // The item whose placed cell holds `point`, or -1.
    int HitTest(QPoint point) const;

    ScrollState Scroll() const;
    // Shows row `row` (clamped to the scroll range) at the top.
    void ScrollToRow(int row);

private:
    void Rescroll() { ScrollToRow(firstVisible_ / Columns()); }

    QSize itemSize_;
    int margin_;
    LabelMeasure measure_;
    QSize cell_;
    QSize client_;
    std::vector<ThumbnailItem> items_;
    int firstVisible_ = 0;
    int selected_ = -1;
};

}  // namespace lumora
