// ThumbnailGrid: the scrollable grid of equal cells the snapshot manager shows its pictures
// in (see ThumbnailLayout for the cells, ThumbnailPainter for their look). A vertical
// scroll bar on the right edge moves whole rows; it is disabled while the grid is empty.
// A press or a double click on a cell selects its item and emits pressed / doubleClicked;
// presses elsewhere do nothing. Dragging a cell further than the platform's drag distance
// emits dragStarted with its item, for the owner to start a drag of its own.
//
// Thread: user-interface thread. The pictures are shared copies (QImage), the grid keeps
// them for as long as it holds the items.
#pragma once

#include "tools/thumbnail_layout.h"

#include <QWidget>

class QScrollBar;

namespace lumora {

class ThumbnailGrid : public QWidget {
    Q_OBJECT
public:
    ThumbnailGrid(QSize itemSize, int margin, QWidget* parent = nullptr);

    int AddItem(ThumbnailItem item);
    void Clear();

    const ThumbnailLayout& Layout() const { return layout_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    // The client area the cells are laid out in: the widget less the scroll bar.
    QSize ClientSize() const;

signals:
    void pressed(int index);
    void doubleClicked(int index);
    void dragStarted(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void UpdateScrollBar();
    void Scrolled(int row);
    bool SelectAt(QPoint point);

    ThumbnailLayout layout_;
    QScrollBar* scrollBar_;
    QPoint pressAt_;
    int pressedItem_ = -1;
};

}  // namespace lumora
