// OptionsWindow ("ParvelOptions", "Options"): the borderless skinned window docked
// against the main window's right edge that carries every control driving playback and
// the effects: a close button (2001), the tab strip (2000) "Filters" and "Effects" and
// the page of the current tab.
//
// The main window is the dock target and the owner: the options window follows each of
// its moves and resizes while visible (Follow), is hidden at first and shown or hidden by
// Toggle. Its minimum size, also its first size, comes from the panels; it is resized
// only from its right edge, its bottom edge and the bottom-right corner. A skin (from an
// ApplySkinEvent, MSG_APPLY_SKIN) paints the window and is passed on to the pages.
//
// What it tells the main window goes out as command(id): 2001 start, 2002 stop, 2003 seek
// to Playback().GetPosition() (0 to 100). What it is told: UpdateEnabling after every
// source change, and the position of a playing file on Playback().ShowFilePosition.
//
// The chain is borrowed and must outlive the window; the window is a child of the main
// window (destroyed with it at the latest). User-interface thread.
#pragma once

#include "effects/effect_chain.h"
#include "options/effects_page.h"
#include "options/filters_page.h"
#include "options/source_status.h"
#include "skins/parvel_button.h"
#include "skins/parvel_simple_tab.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <optional>

namespace lumora {

class OptionsWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTabStripId = 2000;
    static constexpr int kCloseId = 2001;
    static constexpr int kTabWidth = 48;
    static constexpr int kTabHeight = 21;
    static constexpr int kResizeMargin = 5;  // the grip along the right and bottom edges

    OptionsWindow(EffectChain& chain, QWidget& mainWindow);

    // Shows it docked when hidden, hides it when shown.
    void Toggle();
    // While visible: moves it to the main window's right edge, keeping its size.
    void Follow();
    // Playback from the source's kind; the effect controls while video flows.
    void UpdateEnabling(SourceStatus status);
    // The smallest size the pages have room in (no window frame: the window has none).
    static QSize MinimumSize();

    PlaybackPanel& Playback() { return filters_.Playback(); }
    FiltersPage& Filters() { return filters_; }
    EffectsPage& Effects() { return effects_; }
    ParvelSimpleTab& Tabs() { return tabs_; }

signals:
    void command(int id);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplySkin(const Skin& skin);
    void AddTabs(const Skin* skin);
    void ShowCurrentPage();
    QPoint DockPosition() const;
    // The edges a press at `point` grips: right, bottom or both; none elsewhere.
    Qt::Edges ResizeEdges(QPoint point) const;

    QWidget& mainWindow_;
    ParvelButton close_;
    ParvelSimpleTab tabs_;
    FiltersPage filters_;
    EffectsPage effects_;
    const Skin* skin_ = nullptr;  // borrowed from the SkinManager
    struct Drag {
        Qt::Edges edges;
        QPoint start;  // global
        QSize size;
    };
    std::optional<Drag> resizing_;  // a resize the window system does not carry out
};

}  // namespace lumora
