// LabelFitter: room for a template label whose text needs more than its rectangle. The
// templates were measured in another system's dialog font; with the desktop's font a label
// can need a few pixels more than it was given, and would be cut off. The label grows
// right, and a word-wrapped one then down, into space no other control takes, never past
// the dialog or the frame of a group it lies in, and never smaller than it was.
//
// Plain geometry in pixels, no widgets; any thread may use it.
#pragma once

#include <QRect>

#include <functional>
#include <vector>

namespace lumora {

class LabelFitter {
public:
    // `dialog`: the dialog's client area; `others`: every other control's rectangle (a
    // group box that holds the label counts as a frame to stay inside).
    LabelFitter(QRect dialog, std::vector<QRect> others);

    // A single-line label at `label` whose text needs `needed` pixels of width.
    QRect FitLine(QRect label, int needed) const;

    // A word-wrapped label at `label`: `lineWidth` is its text on one line, `heightFor`
    // the height its text takes at a given width.
    QRect FitWrapped(QRect label, int lineWidth, const std::function<int(int)>& heightFor) const;

private:
    // The largest rectangle the label may take: the dialog, less the inside of any group
    // frame that holds it.
    QRect Bounds(QRect label) const;
    int FreeRight(QRect label, int wanted) const;
    int FreeBottom(QRect label, int wanted) const;

    QRect dialog_;
    std::vector<QRect> others_;
};

}  // namespace lumora
