#include "options/options_window.h"

#include "options/click_connection.h"
#include "skins/apply_skin_event.h"
#include "skins/parvel_codes.h"
#include "skins/skin_drawing.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace lumora {
namespace {

constexpr QPoint kTabStripAt{5, 12};
constexpr int kTabsFrameCorner = 10;

}  // namespace

OptionsWindow::OptionsWindow(EffectChain& chain, QWidget& mainWindow)
        : QWidget(&mainWindow, Qt::Tool | Qt::FramelessWindowHint),
          mainWindow_(mainWindow),
          close_(kCloseId, this),
          tabs_(kTabStripId, kTabWidth, kTabHeight, this),
          filters_(chain, this),
          effects_(chain, this) {
    setObjectName("ParvelOptions");
    setWindowTitle("Options");
    setMouseTracking(true);
    close_.SetText("Close");
    OnClick(close_, this, [this] { hide(); });
    tabs_.move(kTabStripAt);
    AddTabs(nullptr);
    connect(&tabs_, &ParvelSimpleTab::notified, this, [this](int, int code) {
        if (code == parvel::kTabSelectionChanged) ShowCurrentPage();
    });
    connect(&filters_.Playback(), &PlaybackPanel::command, this, [this](int id, QWidget*) { emit command(id); });
    setMinimumSize(MinimumSize());
    resize(MinimumSize());
    move(DockPosition());
    ShowCurrentPage();
    mainWindow_.installEventFilter(this);
    hide();
}

QSize OptionsWindow::MinimumSize() {
    const QSize filters = FiltersPage::MinimumSize();
    const QSize effects = EffectsPage::MinimumSize();
    return {std::max(filters.width(), effects.width()) + 20,
            std::max(filters.height(), effects.height()) + kTabHeight + 27};
}

void OptionsWindow::Toggle() {
    if (isVisible()) {
        hide();
        return;
    }
    move(DockPosition());
    show();
}

void OptionsWindow::Follow() {
    if (isVisible()) move(DockPosition());
}

QPoint OptionsWindow::DockPosition() const {
    const QRect main = mainWindow_.frameGeometry();
    return {main.left() + main.width(), main.top()};
}

void OptionsWindow::UpdateEnabling(SourceStatus status) {
    filters_.Playback().SetState(status.Playback());
    filters_.EnableEffects(status.HasVideo());
    effects_.Animations().Enable(status.HasVideo());
}

bool OptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &mainWindow_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) Follow();
    return QWidget::eventFilter(watched, event);
}

bool OptionsWindow::event(QEvent* event) {
    if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
        ApplySkin(*skin);
        return true;
    }
    return QWidget::event(event);
}

void OptionsWindow::ApplySkin(const Skin& skin) {
    skin_ = &skin;
    close_.SetBitmaps(skin.mainWindow.close);
    close_.update();
    AddTabs(&skin);
    filters_.ApplySkin(skin);
    effects_.ApplySkin(skin);
    ShowCurrentPage();
    update();
}

void OptionsWindow::AddTabs(const Skin* skin) {
    tabs_.ClearTabs();
    tabs_.AddTab(skin ? skin->tabs.filters : nullptr, skin ? skin->tabs.filtersActive : nullptr, "Filters");
    tabs_.AddTab(skin ? skin->tabs.effects : nullptr, skin ? skin->tabs.effectsActive : nullptr, "Effects");
}

void OptionsWindow::ShowCurrentPage() {
    const bool filters = tabs_.GetCurrent() == 0;
    filters_.setVisible(filters);
    effects_.setVisible(!filters);
}

void OptionsWindow::resizeEvent(QResizeEvent* event) {
    const int w = width();
    const int h = height();
    close_.setGeometry(w - 25, 5, 20, 20);
    const int pagesTop = kTabStripAt.y() + tabs_.height() + 5;
    const QRect pages(QPoint(10, pagesTop), QPoint(w - 11, h - 11));
    filters_.setGeometry(pages);
    effects_.setGeometry(pages);
    QWidget::resizeEvent(event);
}

void OptionsWindow::paintEvent(QPaintEvent*) {
    if (skin_ == nullptr) return;
    QPainter painter(this);
    FillTexturedWindow(painter, *this, skin_->mainWindow.background, skin_->mainWindow.border);
    const QRect frame(QPoint(tabs_.x(), tabs_.geometry().bottom() - 3), QPoint(width() - 6, height() - 6));
    DrawFramePieces(painter, frame, skin_->tabsWindow, kTabsFrameCorner, kTabsFrameCorner, kTabsFrameCorner,
                    kTabsFrameCorner);
}

Qt::Edges OptionsWindow::ResizeEdges(QPoint point) const {
    Qt::Edges edges;
    // Presses on the left and top edges are swallowed: the window stays docked.
    if (point.x() < kResizeMargin || point.y() < kResizeMargin) return edges;
    if (point.x() >= width() - kResizeMargin) edges |= Qt::RightEdge;
    if (point.y() >= height() - kResizeMargin) edges |= Qt::BottomEdge;
    return edges;
}

void OptionsWindow::mousePressEvent(QMouseEvent* event) {
    const Qt::Edges edges = ResizeEdges(event->position().toPoint());
    if (event->button() != Qt::LeftButton || edges == Qt::Edges()) return;
    if (windowHandle() != nullptr && windowHandle()->startSystemResize(edges)) return;
    resizing_ = Drag{edges, event->globalPosition().toPoint(), size()};
}

void OptionsWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!resizing_) {
        const Qt::Edges edges = ResizeEdges(event->position().toPoint());
        const Qt::CursorShape shape = edges == (Qt::RightEdge | Qt::BottomEdge) ? Qt::SizeFDiagCursor
                                      : edges == Qt::RightEdge                  ? Qt::SizeHorCursor
                                      : edges == Qt::BottomEdge                 ? Qt::SizeVerCursor
                                                                                : Qt::ArrowCursor;
        setCursor(shape);
        return;
    }
    const QPoint moved = event->globalPosition().toPoint() - resizing_->start;
    QSize size = resizing_->size;
    if (resizing_->edges & Qt::RightEdge) size.rwidth() += moved.x();
    if (resizing_->edges & Qt::BottomEdge) size.rheight() += moved.y();
    resize(size.expandedTo(minimumSize()));
}

void OptionsWindow::mouseReleaseEvent(QMouseEvent*) { resizing_.reset(); }

}  // namespace lumora
