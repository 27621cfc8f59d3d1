// GlyphArt: the symbols the built-in pictures carry (close, minimise, play, stop, zoom in
// and out, check mark, arrows), drawn as antialiased vector shapes centred in a box, so
// that they are sharp at any device pixel ratio. Stateless; draws on the caller's painter.
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace lumora {

class GlyphArt {
public:
    enum class Direction { kUp, kDown, kLeft, kRight };

    // `weight` is the stroke width in logical pixels.
    static void Cross(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight);
    static void Dash(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight);
    static void Play(QPainter& painter, const QRectF& box, const QColor& colour);
    static void Square(QPainter& painter, const QRectF& box, const QColor& colour);
    // A magnifying glass with a plus (zoom in) or a minus (zoom out) in its lens.
    static void Magnifier(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight, bool plus);
    static void Chevron(QPainter& painter, const QRectF& box, Direction direction, const QColor& colour, qreal weight);
    static void Check(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight);

    // `a` moved towards `b` by `amount` (0 keeps a, 1 gives b).
    static QColor Mix(const QColor& a, const QColor& b, qreal amount);
};

}  // namespace lumora
