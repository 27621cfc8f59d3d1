// ParvelListView: the skinned grid of tiles (a 48 x 48 picture with a word-wrapped
// caption under it) with a ParvelScrollBar (child id 4002) along its right edge. The
// owner marks tiles selected; the user's last click makes a tile current and sends
// notified(child id, parvel::kItemClicked), a double click notified(child id,
// parvel::kItemDoubleClicked), the tile already current. The wheel scrolls by one row.
//
// Item pictures are borrowed (the owner keeps them alive while listed); ApplySkin takes
// the list-view group and passes the skin to the scroll bar, whose pictures are borrowed
// from the Skin. The scroll range follows resizes and skins. Owned by its parent widget;
// user-interface thread.
#pragma once

#include "skins/accessible_control.h"
#include "skins/list_view_model.h"
#include "skins/parvel_scroll_bar.h"
#include "skins/skin.h"

#include <QWidget>

namespace lumora {

class ParvelListView : public QWidget, public AccessibleControl {
    Q_OBJECT

public:
    ParvelListView(int childId, QWidget* parent);

    int ChildId() const { return childId_; }
    // Appends an unselected item and repaints; answers its index.
    int AddItem(const QImage* bitmap, const QString& caption, std::int32_t value);
    void Clear();
    void SetSelected(int index, bool selected);
    std::int32_t GetItemValue(int index) const { return model_.GetItemValue(index); }
    int FindItemByValue(std::int32_t value) const { return model_.FindItemByValue(value); }
    int GetCurrent() const { return model_.GetCurrent(); }
    static QSize GetPreferredSize() { return {218, 60}; }
    void Enable(bool enabled) { setEnabled(enabled); }
    void ApplySkin(const Skin& skin);

    const ListViewModel& Model() const { return model_; }
    ParvelScrollBar& ScrollBar() { return scrollBar_; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::List; }
    QString AccessibleValue() const override;

signals:
    void notified(int childId, int code);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void UpdateTileSize();
    void UpdateScrollRange();
    void Scrolled(int position);
    void Activate(QPoint point, int code);

    const int childId_;
    ListViewModel model_;
    ListViewSkin skin_;
    bool skinned_ = false;  // no scroll range before the first skin
    ParvelScrollBar scrollBar_;
    int wheelRemainder_ = 0;
};

}  // namespace lumora
