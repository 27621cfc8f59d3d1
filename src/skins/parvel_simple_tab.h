// ParvelSimpleTab: the skinned tab strip, a row of equally sized picture tabs, one of
// them current. A click on another tab, or the Left and Right keys while the strip has
// the keyboard focus, makes it current and sends notified(child id,
// parvel::kTabSelectionChanged); clicking the current tab or beyond the last sends
// nothing. The strip sizes itself to its tabs.
//
// Tab pictures are borrowed (from the Skin, which must outlive their use). Owned by its
// parent widget; user-interface thread.
#pragma once

#include "skins/accessible_control.h"
#include "skins/tab_strip_model.h"

#include <QWidget>

namespace lumora {

class ParvelSimpleTab : public QWidget, public AccessibleControl {
    Q_OBJECT

public:
    ParvelSimpleTab(int childId, int tabWidth, int tabHeight, QWidget* parent);

    int ChildId() const { return childId_; }
    // Both resize the strip to its tabs, keeping its position.
    void ClearTabs();
    void AddTab(const QImage* normal, const QImage* active, const QString& name = {});
    int GetCurrent() const { return model_.GetCurrent(); }
    const TabStripModel& Model() const { return model_; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::PageTabList; }
    QString AccessibleValue() const override;

signals:
    void notified(int childId, int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UserSelect(int index);

    const int childId_;
    TabStripModel model_;
};

}  // namespace lumora
