// ListViewKeys: the keyboard for a ParvelListView, which answers only the mouse. While
// the list has the focus (it takes it with Tab):
// - the arrow keys make the tile beside, above or below the current one current, Home
//   the first and End the last, scrolling it into view;
// - Return, Enter and Space act on the current tile as a double click does.
// Both are done as the mouse does them, by a click (or double click) on the tile, so the
// list tells its owner exactly as it does for the mouse. The owner is also told when the
// list gains or loses the focus, to draw the focus outline the list does not draw.
//
// Installed as an event filter on the list, whose owner keeps it; user-interface thread.
#pragma once

#include "skins/parvel_list_view.h"

#include <QObject>

#include <functional>

namespace lumora {

class ListViewKeys : public QObject {
public:
    ListViewKeys(ParvelListView& list, std::function<void()> focusChanged);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The index a key moves the current tile to; -1 for a key that moves nothing.
    int Target(int key) const;
    void ScrollIntoView(int index);
    // A press (and release) of the left button in the middle of the tile's visible part.
    void ClickTile(int index, bool twice);

    ParvelListView& list_;
    const std::function<void()> focusChanged_;
};

}  // namespace lumora
