#include "skins/glyph_art.h"

#include <QPainter>
#include <QPainterPath>

namespace lumora {

namespace {

QPen Stroke(const QColor& colour, qreal weight) {
    return QPen(colour, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The square of side `fraction` x the box's smaller side, centred in the box.
QRectF Inner(const QRectF& box, qreal fraction) {
    const qreal side = std::min(box.width(), box.height()) * fraction;
    return QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
}

}  // namespace

void GlyphArt::Cross(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight) {
    const QRectF r = Inner(box, 0.36);
    painter.setPen(Stroke(colour, weight));
    painter.drawLine(r.topLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomLeft());
}

void GlyphArt::Dash(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight) {
    const QRectF r = Inner(box, 0.4);
    painter.setPen(Stroke(colour, weight));
    painter.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void GlyphArt::Play(QPainter& painter, const QRectF& box, const QColor& colour) {
    const QRectF r = Inner(box, 0.42);
    // The triangle's centre of mass sits a third of its width from its base: move it right
    // so that it looks centred.
    const qreal shift = r.width() / 8;
    QPainterPath path;
    path.moveTo(r.left() + shift, r.top());
    path.lineTo(r.right() + shift, r.center().y());
    path.lineTo(r.left() + shift, r.bottom());
    path.closeSubpath();
    painter.setPen(Stroke(colour, 1.0));
    painter.setBrush(colour);
    painter.drawPath(path);
}

void GlyphArt::Square(QPainter& painter, const QRectF& box, const QColor& colour) {
    const QRectF r = Inner(box, 0.36);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(r, r.width() / 6, r.width() / 6);
}

void GlyphArt::Magnifier(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight, bool plus) {
    const QRectF r = Inner(box, 0.78);
    const qreal lens = r.width() * 0.66;
    const QRectF glass(r.left(), r.top(), lens, lens);
    painter.setPen(Stroke(colour, weight));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(glass);
    const qreal reach = 0.5 + 0.5 * 0.7071;  // where the rim meets the diagonal
    painter.setPen(Stroke(colour, weight * 1.35));
    painter.drawLine(QPointF(glass.left() + lens * reach, glass.top() + lens * reach), r.bottomRight());
    const QRectF sign = Inner(glass, 0.46);
    painter.setPen(Stroke(colour, weight));
    painter.drawLine(QPointF(sign.left(), sign.center().y()), QPointF(sign.right(), sign.center().y()));
    if (plus) painter.drawLine(QPointF(sign.center().x(), sign.top()), QPointF(sign.center().x(), sign.bottom()));
}

void GlyphArt::Chevron(QPainter& painter, const QRectF& box, Direction direction, const QColor& colour, qreal weight) {
    const QRectF r = Inner(box, 0.42);
    const qreal half = r.height() / 4;  // chevrons are twice as wide as they are tall
    const QPointF c = r.center();
    QPointF a, tip, b;
    switch (direction) {
        case Direction::kUp:
            a = {r.left(), c.y() + half}, tip = {c.x(), c.y() - half}, b = {r.right(), c.y() + half};
            break;
        case Direction::kDown:
            a = {r.left(), c.y() - half}, tip = {c.x(), c.y() + half}, b = {r.right(), c.y() - half};
            break;
        case Direction::kLeft:
            a = {c.x() + half, r.top()}, tip = {c.x() - half, c.y()}, b = {c.x() + half, r.bottom()};
            break;
        case Direction::kRight:
            a = {c.x() - half, r.top()}, tip = {c.x() + half, c.y()}, b = {c.x() - half, r.bottom()};
            break;
    }
    painter.setPen(Stroke(colour, weight));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({a, tip, b}));
}

void GlyphArt::Check(QPainter& painter, const QRectF& box, const QColor& colour, qreal weight) {
    const QRectF r = Inner(box, 0.62);
    QPainterPath path;
    path.moveTo(r.left(), r.top() + r.height() * 0.55);
    path.lineTo(r.left() + r.width() * 0.36, r.bottom() - r.height() * 0.08);
    path.lineTo(r.right(), r.top() + r.height() * 0.1);
    painter.setPen(Stroke(colour, weight));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

QColor GlyphArt::Mix(const QColor& a, const QColor& b, qreal amount) {
    const auto mix = [amount](float x, float y) { return x + (y - x) * static_cast<float>(amount); };
    return QColor::fromRgbF(mix(a.redF(), b.redF()), mix(a.greenF(), b.greenF()), mix(a.blueF(), b.blueF()));
}

}  // namespace lumora
