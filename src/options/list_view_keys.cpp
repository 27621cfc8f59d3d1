#include "options/list_view_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <optional>
#include <utility>

namespace lumora {
namespace {

// The tile of `index` as the list shows it now, if it is shown whole (or is the only
// row the area has room for).
std::optional<QRect> ShownTile(const ParvelListView& list, int index) {
    const ListViewModel& model = list.Model();
    const QRect area = ListViewModel::Area(list.size());
    for (const ListViewModel::Tile& tile : model.VisibleTiles(list.size())) {
        if (tile.index != index) continue;
        const bool whole = tile.rect.bottom() <= area.bottom() || tile.rect.top() == area.top();
        if (whole) return tile.rect & area;
    }
    return std::nullopt;
}

}  // namespace

ListViewKeys::ListViewKeys(ParvelListView& list, std::function<void()> focusChanged)
        : QObject(&list), list_(list), focusChanged_(std::move(focusChanged)) {
    list.setFocusPolicy(Qt::TabFocus);
    list.installEventFilter(this);
}

bool ListViewKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &list_) return false;
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (focusChanged_) focusChanged_();
        return false;
    }
    if (event->type() != QEvent::KeyPress || !list_.isEnabled()) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        ClickTile(list_.GetCurrent(), true);
        return true;
    }
    const int target = Target(key);
    if (target < 0) return false;
    ClickTile(target, false);
    return true;
}

int ListViewKeys::Target(int key) const {
    const int count = static_cast<int>(list_.Model().Items().size());
    if (count == 0) return -1;
    const int current = std::clamp(list_.GetCurrent(), 0, count - 1);
    const int columns = list_.Model().Columns(list_.size());
    int target = current;
    switch (key) {
        case Qt::Key_Left: target = current - 1; break;
        case Qt::Key_Right: target = current + 1; break;
        case Qt::Key_Up: target = current - columns; break;
        case Qt::Key_Down: target = current + columns; break;
        case Qt::Key_Home: target = 0; break;
        case Qt::Key_End: target = count - 1; break;
        default: return -1;
    }
    return std::clamp(target, 0, count - 1);
}

void ListViewKeys::ScrollIntoView(int index) {
    ParvelScrollBar& bar = list_.ScrollBar();
    const int count = static_cast<int>(list_.Model().Items().size());
    // Each step is one row; the range bounds the number of steps.
    for (int step = 0; step < count && index < list_.Model().FirstVisible(); ++step) {
        const int before = bar.GetPosition();
        bar.StepByUser(-1);
        if (bar.GetPosition() == before) break;
    }
    for (int step = 0; step < count && !ShownTile(list_, index); ++step) {
        const int before = bar.GetPosition();
        bar.StepByUser(+1);
        if (bar.GetPosition() == before) break;
    }
}

void ListViewKeys::ClickTile(int index, bool twice) {
    if (index < 0 || index >= static_cast<int>(list_.Model().Items().size())) return;
    ScrollIntoView(index);
    const std::optional<QRect> tile = ShownTile(list_, index);
    if (!tile) return;
    const QPointF at = tile->center();
    const QPointF global = list_.mapToGlobal(at);
    QMouseEvent press(twice ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&list_, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&list_, &release);
}

}  // namespace lumora
