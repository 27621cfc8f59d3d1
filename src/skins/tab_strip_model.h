// TabStripModel: the tabs of a skinned tab strip, a row of equally sized picture tabs of
// which one is current. The strip is one tab wide when empty, else as wide as its tabs.
// The current index starts at 0, survives clearing and adding tabs, and changes only
// when the user picks another existing tab. Plain value; one thread.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace lumora {

class TabStripModel {
public:
    struct Tab {
        const QImage* normal = nullptr;  // borrowed
        const QImage* active = nullptr;  // borrowed
        QString name;                    // for screen readers
    };

    TabStripModel(int tabWidth, int tabHeight) : tabWidth_(tabWidth), tabHeight_(tabHeight) {}

    void ClearTabs() { tabs_.clear(); }
    void AddTab(const Tab& tab) { tabs_.push_back(tab); }
    int GetCurrent() const { return current_; }
    int Count() const { return static_cast<int>(tabs_.size()); }
    const std::vector<Tab>& Tabs() const { return tabs_; }

    QSize StripSize() const;
    QRect TabRect(int index) const { return {index * tabWidth_, 0, tabWidth_, tabHeight_}; }
    // The tab under `x`; -1 for none.
    int HitTest(int x) const;
    // Makes `index` current when it is a tab other than the current one; answers whether
    // it did (the owner is then told).
    bool Select(int index);

private:
    int tabWidth_;
    int tabHeight_;
    int current_ = 0;
    std::vector<Tab> tabs_;
};

}  // namespace lumora
