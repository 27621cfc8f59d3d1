// ListViewModel: the items, tiles and scrolling of a skinned list view, apart from any
// widget. Items are pictures (borrowed, may be none) with a caption, a user value and a
// selected flag, in insertion order. Tiles all have one size: at least 68 wide and 63
// plus the tallest caption high. They fill the tile area (the client rectangle less a
// 1-pixel border and the 12-pixel scroll bar on the right) row by row from the first
// visible item; the last row may be cut by the area's bottom edge.
//
// The current item changes only by the user's clicks; the first visible item only by
// scrolling. Plain value; one thread.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace lumora {

class ListViewModel {
public:
    static constexpr int kMinimumTileWidth = 68;
    static constexpr int kTileHeightWithoutCaption = 63;
    static constexpr int kCaptionWidth = 66;

    struct Item {
        const QImage* bitmap = nullptr;  // borrowed; null draws the tile's background
        QString caption;                 // empty: none
        std::int32_t value = 0;
        bool selected = false;
    };
    struct Tile {
        int index = 0;
        QRect rect;
    };
    // The scroll bar's maximum (its minimum is 0) and the position to give it.
    struct ScrollRange {
        int maximum = 0;
        int position = 0;
    };

    int AddItem(const QImage* bitmap, const QString& caption, std::int32_t value);
    // Empties the list; the first visible and current indices stay as they are.
    void Clear() { items_.clear(); }
    bool SetSelected(int index, bool selected);
    std::int32_t GetItemValue(int index) const;
    int FindItemByValue(std::int32_t value) const;
    int GetCurrent() const { return current_; }
    void SetCurrent(int index) { current_ = index; }
    int FirstVisible() const { return firstVisible_; }
    const std::vector<Item>& Items() const { return items_; }

    // Measures every caption (its height wrapped into kCaptionWidth pixels) for the tile
    // size; an empty list has tiles of 0 x 0.
    void ComputeTileSize(const std::function<int(const QString&)>& captionHeight);
    QSize TileSize() const { return tileSize_; }

    static QRect Area(QSize client);
    static QRect ScrollBarRect(QSize client);
    // Tiles in a row, at least 1.
    int Columns(QSize client) const;
    ScrollRange RangeFor(QSize client) const;
    // Shows the row of `scrollPosition` first.
    void ScrollTo(int scrollPosition, QSize client) { firstVisible_ = scrollPosition * Columns(client); }

    // The tiles to paint, in order.
    std::vector<Tile> VisibleTiles(QSize client) const;
    // The item whose tile, cut to the area, holds `point`; -1 for none.
    int HitTest(QPoint point, QSize client) const;

private:
    std::vector<Item> items_;
    int firstVisible_ = 0;
    int current_ = 0;
    QSize tileSize_;
};

}  // namespace lumora
