#include "platform/label_fitter.h"

#include <algorithm>

namespace lumora {

namespace {

// Space kept between a grown label and the control it grows towards, and inside a group
// frame (its line and the style's margin).
constexpr int kGap = 2;
constexpr int kFrameInset = 4;

bool Holds(QRect outer, QRect inner) { return outer != inner && outer.contains(inner); }

}  // namespace

LabelFitter::LabelFitter(QRect dialog, std::vector<QRect> others) : dialog_(dialog), others_(std::move(others)) {}

QRect LabelFitter::Bounds(QRect label) const {
    QRect bounds = dialog_.adjusted(0, 0, -kGap, -kGap);
    for (const QRect& other : others_) {
        if (Holds(other, label)) bounds &= other.adjusted(kFrameInset, 0, -kFrameInset, -kFrameInset);
    }
    return bounds;
}

int LabelFitter::FreeRight(QRect label, int wanted) const {
    int right = std::min(wanted, Bounds(label).right());
    for (const QRect& other : others_) {
        if (Holds(other, label) || other.intersects(label)) continue;  // its frame, or drawn over already
        const bool sameRows = other.top() <= label.bottom() && other.bottom() >= label.top();
        if (sameRows && other.left() > label.right()) right = std::min(right, other.left() - 1 - kGap);
    }
    return std::max(right, label.right());
}

int LabelFitter::FreeBottom(QRect label, int wanted) const {
    int bottom = std::min(wanted, Bounds(label).bottom());
    for (const QRect& other : others_) {
        if (Holds(other, label) || other.intersects(label)) continue;
        const bool sameColumns = other.left() <= label.right() && other.right() >= label.left();
        if (sameColumns && other.top() > label.bottom()) bottom = std::min(bottom, other.top() - 1 - kGap);
    }
    return std::max(bottom, label.bottom());
}

QRect LabelFitter::FitLine(QRect label, int needed) const {
    if (needed <= label.width()) return label;
    label.setRight(FreeRight(label, label.left() + needed - 1));
    return label;
}

QRect LabelFitter::FitWrapped(QRect label, int lineWidth, const std::function<int(int)>& heightFor) const {
    if (heightFor(label.width()) <= label.height()) return label;
    label.setRight(FreeRight(label, label.left() + lineWidth - 1));
    const int needed = heightFor(label.width());
    if (needed > label.height()) label.setBottom(FreeBottom(label, label.top() + needed - 1));
    return label;
}

}  // namespace lumora
